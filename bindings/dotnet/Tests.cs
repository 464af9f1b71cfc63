// Checks of the .NET declarations and the failure path, run under mono.
// Prints "N passed, N failed" and exits non-zero on any failure.
using System;
using System.Collections.Generic;
using Quarnel;

static class Tests
{
    static int passed, failed;

    static void Expect(string name, bool ok)
    {
        if (ok) passed++;
        else { failed++; Console.WriteLine("FAILED: " + name); }
    }

    // Runs action, which must throw T with the given code; then checks that
    // the library still answers on this thread.
    static void ExpectFailure<T>(string name, uint code, Action action) where T : QuarnelException
    {
        try
        {
            action();
            Expect(name + " throws", false);
        }
        catch (T e)
        {
            Expect(name + " code and message", e.Code == code && e.Message.Length > 0);
        }
        using (var after = new AnsiStr("7"))
            Expect(name + " then the library goes on", after.ToInt() == 7);
    }

    static int Main()
    {
        var splits = new[] {
            new { Line = "a, b,c", Trim = true, Fields = "a|b|c" },
            new { Line = "a,,b,", Trim = false, Fields = "a||b" },
            new { Line = ",", Trim = false, Fields = "" },
            new { Line = "caf\u00e9, \U0001F600", Trim = true, Fields = "caf\u00e9|\U0001F600" },
        };
        foreach (var c in splits)
        {
            using (var w = new WideStr(c.Line))
                Expect("W split " + c.Line, string.Join("|", w.Split(',', c.Trim)) == c.Fields);
            using (var a = new AnsiStr(c.Line))
                if (a.ToString() == c.Line)  // representable in the ANSI code page
                    Expect("A split " + c.Line, string.Join("|", a.Split(',', c.Trim)) == c.Fields);
        }

        using (var h = new AnsiStr("12x"))
        {
            ExpectFailure<QuarnelConvertException>("ToInt", QuarnelException.Convert, () => h.ToInt());
            ExpectFailure<QuarnelRangeException>("CharAt", QuarnelException.Range, () => h.CharAt(99));
            ExpectFailure<QuarnelOutOfMemoryException>("OfChar", QuarnelException.OutOfMemory,
                                                       () => AnsiStr.OfChar('x', int.MaxValue));
            Expect("the handle keeps its text", h.ToString() == "12x" && h.CharAt(3) == (byte)'x');
        }

        // One-byte bool and two-byte char results: a four-byte BOOL or a
        // one-byte char would read garbage here.
        using (var a = new AnsiStr("a\\b"))
        {
            Expect("bool true", NativeMethods.LStrIsPathDelimiterA(a.Handle, 2));
            Expect("bool false", !NativeMethods.LStrIsPathDelimiterA(a.Handle, 3));
        }
        using (var w = new WideStr("\u00e9\u20ac"))
            Expect("UTF-16 unit", NativeMethods.LStrGetCharAtW(w.Handle, 2) == '\u20ac' && w.Length == 2);

        var disposed = new AnsiStr("x");
        disposed.Dispose();
        Expect("disposed handle is closed", disposed.Handle.IsClosed);

        Console.WriteLine("dotnet: {0} passed, {1} failed", passed, failed);
        return failed == 0 ? 0 : 1;
    }
}
