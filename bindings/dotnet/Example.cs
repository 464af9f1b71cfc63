// The small task every host in the README does: split a settings line into
// trimmed fields, read the last one as a number, and catch the failure.
using System;
using Quarnel;

static class Example
{
    static int Main()
    {
        using (var line = new AnsiStr("alpha, beta, 12x"))
        {
            var fields = line.Split(',', true);
            Console.WriteLine(string.Join(" | ", fields));
            using (var last = new AnsiStr(fields[fields.Count - 1]))
            {
                try
                {
                    Console.WriteLine(last.ToInt());
                }
                catch (QuarnelConvertException e)
                {
                    Console.WriteLine("not a number: {0} (0x{1:X8})", e.Message, e.Code);
                }
            }
        }
        return 0;
    }
}
