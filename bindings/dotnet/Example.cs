// The small task every host in the README does: split a settings line into
// trimmed fields, read the last one as a number, and catch the failure.
using System;
using Quarnel;

static class Example
{
    static void Main()
    {
        using (var line = new AnsiStr("alpha, beta, 12x"))
        {
            string[] fields = line.Split(',', trim: true);
            Console.WriteLine(string.Join(" | ", fields));
            try
            {
                using (AnsiStr last = fields[fields.Length - 1])
                    Console.WriteLine(last.ToInt());
            }
            catch (FormatException e)
            {
                Console.WriteLine("not a number: {0} (0x{1:X8})", e.Message, ((IQuarnelFailure)e).Code);
            }
        }
    }
}
