// Cost of the .NET binding's friendly layer against a raw P/Invoke of the
// same export, timed with a Stopwatch under mono (ns per call, best of 9
// interleaved rounds, and the ratio friendly / raw).
//
//   mcs -target:library -out:build/dotnet-bench/Quarnel.Net.dll bindings/dotnet/Quarnel.cs
//   mcs -optimize -r:build/dotnet-bench/Quarnel.Net.dll -out:build/dotnet-bench/bench.exe bench/dotnet_bench.cs
//   cp bindings/dotnet/Quarnel.Net.dll.config build/dotnet-bench/
//   cp bindings/dotnet/Quarnel.Net.dll.config build/dotnet-bench/bench.exe.config
//   LD_LIBRARY_PATH=build/src mono build/dotnet-bench/bench.exe
using System;
using System.Diagnostics;
using System.Runtime.InteropServices;
using Quarnel;

static class Bench
{
    // The raw calls: the pointer as it is, and through the SafeHandle the
    // binding keeps (which the marshaller reference-counts around the call).
    [DllImport("Quarnel")] static extern int LStrToIntA(IntPtr h);
    [DllImport("Quarnel", EntryPoint = "LStrToIntA")] static extern int LStrToIntSafe(AnsiStrHandle h);
    [DllImport("Quarnel")] static extern int LStrSetFailureMode(int mode);

    const int Calls = 2000000;

    // ns per call of one round.
    static double Round(Func<int> call)
    {
        long sum = 0;
        var clock = Stopwatch.StartNew();
        for (int i = 0; i < Calls; i++) sum += call();
        if (sum == 42) Console.Write("");
        return clock.Elapsed.TotalMilliseconds * 1e6 / Calls;
    }

    // The best round of each call, the rounds interleaved so that a change
    // in the machine's load falls on all of them alike.
    static double[] Time(params Func<int>[] calls)
    {
        var best = new double[calls.Length];
        for (int k = 0; k < best.Length; k++) best[k] = double.MaxValue;
        for (int round = 0; round < 9; round++)
            for (int k = 0; k < calls.Length; k++) best[k] = Math.Min(best[k], Round(calls[k]));
        return best;
    }

    static void Main()
    {
        using (var number = new AnsiStr("12345"))
        using (var line = new AnsiStr("alpha,beta,gamma,delta,epsilon"))
        {
            LStrSetFailureMode(1);
            IntPtr raw = number.Handle.DangerousGetHandle();
            double[] t = Time(() => LStrToIntA(raw), () => LStrToIntSafe(number.Handle), () => number.ToInt());
            double rawPtr = t[0], rawSafe = t[1], friendly = t[2];
            Console.WriteLine("ToInt raw (IntPtr)      {0,8:F1} ns", rawPtr);
            Console.WriteLine("ToInt raw (SafeHandle)  {0,8:F1} ns", rawSafe);
            Console.WriteLine("ToInt friendly          {0,8:F1} ns   {1:F2}x raw IntPtr, {2:F2}x raw SafeHandle",
                              friendly, friendly / rawPtr, friendly / rawSafe);
            var clock = Stopwatch.StartNew();
            const int splits = 100000;
            using (var fields = new AnsiStrList())
                for (int i = 0; i < splits; i++) fields.SplitBySeparator(line, ',');
            double reuse = clock.Elapsed.TotalMilliseconds * 1e6 / splits;
            clock.Restart();
            for (int i = 0; i < splits; i++) line.Split(',');
            double split = clock.Elapsed.TotalMilliseconds * 1e6 / splits;
            Console.WriteLine("split into 5 fields     {0,8:F1} ns into a kept AnsiStrList, {1:F1} ns as string[]", reuse, split);
        }
    }
}
