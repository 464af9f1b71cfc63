// Tests of the .NET binding, run under mono against the built library, once
// per ANSI code page (QUARNEL_ACP=1252 and 65001). Random texts go through
// the binding and through .NET's own string functions and must agree, except
// where the library documents a difference (noted at each check). Prints
// "dotnet: N passed, N failed" and exits non-zero on any failure.
using System;
using System.Collections.Generic;
using System.Globalization;
using System.IO;
using System.Linq;
using System.Runtime.Serialization.Formatters.Binary;
using System.Text;
using System.Threading;
using Quarnel;

static class Tests
{
    static int passed, failed;
    static readonly CultureInfo Inv = CultureInfo.InvariantCulture;
    static readonly char[] Blanks = Enumerable.Range(0, 33).Select(i => (char)i).ToArray();

    static void Expect(string name, bool ok)
    {
        if (ok) passed++;
        else if (++failed <= 40) Console.WriteLine("FAILED: " + name);
    }

    static void Same<T>(string name, T expected, T actual)
    {
        Expect(name + ": expected [" + expected + "], got [" + actual + "]", Equals(expected, actual));
    }

    // Runs action, which must throw an E carrying code, or (code 0) just an E.
    static void Throws<E>(string name, uint code, Action action) where E : Exception
    {
        try
        {
            action();
            Expect(name + " throws " + typeof(E).Name, false);
        }
        catch (E e)
        {
            var f = e as IQuarnelFailure;
            Expect(name + " code", code == 0 || (f != null && f.Code == code));
        }
        catch (Exception e)
        {
            Expect(name + " throws " + typeof(E).Name + ", not " + e.GetType().Name, false);
        }
    }

    // ---- Random text --------------------------------------------------------------

    static readonly Random Rng = new Random(20);

    // Letters, blanks, separators and digits, with characters of the code
    // page (and, for W, of other scripts and outside the BMP).
    static string RandomText(string extra, int max, bool nonBmp = false)
    {
        const string common = "aAbBzZ09 \t,;-=.";
        string alphabet = common + extra;
        var sb = new StringBuilder();
        int n = Rng.Next(max + 1);
        while (sb.Length < n)
        {
            int k = Rng.Next(alphabet.Length + 1);
            if (k < alphabet.Length) sb.Append(alphabet[k]);
            else if (nonBmp) sb.Append(Rng.Next(2) == 0 ? "\U0001F600" : "\U0001D11E");
        }
        return sb.ToString();
    }

    // What the library's repeated passes leave when the single .NET pass
    // cannot have formed a new occurrence.
    static bool NetReplaceIsFinal(string result, string search, string replacement)
    {
        return replacement.Contains(search) || result.IndexOf(search, StringComparison.Ordinal) < 0;
    }

    static string[] NetSplit(string s, char sep, bool trim)
    {
        var fields = s.Split(sep).ToList();
        if (fields[fields.Count - 1].Length == 0) fields.RemoveAt(fields.Count - 1);  // a final separator ends the line
        return fields.Select(f => trim ? f.Trim(Blanks) : f).ToArray();
    }

    // Upper/lower case per character, except where the other case would
    // take a different number of bytes in the code page.
    static string NetCase(string s, bool upper, Encoding enc)
    {
        var sb = new StringBuilder();
        for (int i = 0; i < s.Length; i++)
        {
            string c = char.IsSurrogate(s[i]) ? s.Substring(i++, 2) : s.Substring(i, 1);
            // Mono's invariant table leaves the micro sign alone; Unicode,
            // and the library, give it the upper case of Greek mu.
            string o = upper ? (c == "\u00b5" ? "\u039c" : c.ToUpperInvariant()) : c.ToLowerInvariant();
            bool fits = enc == null ? o.Length == c.Length
                                    : enc.GetByteCount(o) == enc.GetByteCount(c) && enc.GetString(enc.GetBytes(o)) == o;
            sb.Append(fits ? o : c);
        }
        return sb.ToString();
    }

    static void Differential(int codePage)
    {
        Encoding enc = Encoding.GetEncoding(codePage);
        string ansiExtra = codePage == 1252 ? "\u00e9\u00df\u00ff\u00c4\u20ac\u00f1\u00b5" : "\u00e9\u00df\u00c4\u20ac\u0416\u03b1\u00b5";
        const string wideExtra = "\u00e9\u00df\u00ff\u00c4\u20ac\u0416\u03b1\u0436\u00b5";
        for (int round = 0; round < 300; round++)
        {
            bool wide = round % 2 == 0;
            string s = RandomText(wide ? wideExtra : ansiExtra, 24, wide || codePage == 65001);
            int start = Rng.Next(s.Length + 1);
            string pattern = Rng.Next(3) > 0 ? s.Substring(start, Math.Min(s.Length - start, Rng.Next(1, 4)))
                                             : RandomText(ansiExtra, 2);
            if (pattern.Length > 0 && char.IsLowSurrogate(pattern[0])) pattern = pattern.Substring(1);
            if (pattern.Length > 0 && char.IsHighSurrogate(pattern[pattern.Length - 1])) pattern = pattern.Substring(0, pattern.Length - 1);
            string replacement = RandomText(ansiExtra, 3);
            char sep = ",;="[Rng.Next(3)];
            bool trim = Rng.Next(2) == 0;
            string tag = (wide ? "W" : "A") + codePage + " [" + s + "] ";
            int netAt = pattern.Length == 0 ? -1 : s.IndexOf(pattern, StringComparison.Ordinal);  // the library never finds an empty pattern
            string netReplaced = pattern.Length == 0 ? s : s.Replace(pattern, replacement);
            if (wide)
            {
                using (var w = new WideStr(s))
                {
                    Same(tag + "text", s, w.ToString());
                    Same(tag + "split", string.Join("|", NetSplit(s, sep, trim)), string.Join("|", w.Split(sep, trim)));
                    Same(tag + "IndexOf " + pattern, netAt, w.IndexOf(pattern));
                    Same(tag + "upper", NetCase(s, true, null), w.ToUpper().ToString());
                    Same(tag + "lower", NetCase(s, false, null), w.ToLower().ToString());
                    Same(tag + "trim", s.Trim(Blanks), w.Trim().ToString());
                    Same(tag + "trim start", s.TrimStart(Blanks), w.TrimStart().ToString());
                    Same(tag + "trim end", s.TrimEnd(Blanks), w.TrimEnd().ToString());
                    string replaced = w.Replace(pattern, replacement).ToString();
                    if (NetReplaceIsFinal(netReplaced, pattern, replacement))
                        Same(tag + "replace " + pattern, netReplaced, replaced);
                    else  // the passes go on until no occurrence is left
                        Expect(tag + "replace leaves none", replaced.IndexOf(pattern, StringComparison.Ordinal) < 0);
                    using (var other = new WideStr(pattern))
                    {
                        Same(tag + "CompareTo", Math.Sign(string.CompareOrdinal(s, pattern)), Math.Sign(w.CompareTo(other)));
                        Same(tag + "Equals and hash", s == pattern, w.Equals(other) && w.GetHashCode() == other.GetHashCode());
                    }
                }
            }
            else
            {
                using (var a = new AnsiStr(s))
                {
                    Same(tag + "bytes", Convert.ToBase64String(enc.GetBytes(s)), Convert.ToBase64String(a.ToBytes()));
                    Same(tag + "text", s, a.ToString());
                    Same(tag + "split", string.Join("|", NetSplit(s, sep, trim)), string.Join("|", a.Split(sep, trim)));
                    // Positions count bytes.
                    Same(tag + "IndexOf " + pattern, netAt < 0 ? -1 : enc.GetByteCount(s.Substring(0, netAt)), a.IndexOf(pattern));
                    Same(tag + "upper", NetCase(s, true, enc), a.ToUpper().ToString());
                    Same(tag + "lower", NetCase(s, false, enc), a.ToLower().ToString());
                    Same(tag + "trim", s.Trim(Blanks), a.Trim().ToString());
                    Same(tag + "trim start", s.TrimStart(Blanks), a.TrimStart().ToString());
                    Same(tag + "trim end", s.TrimEnd(Blanks), a.TrimEnd().ToString());
                    string replaced = a.Replace(pattern, replacement).ToString();
                    if (NetReplaceIsFinal(netReplaced, pattern, replacement))
                        Same(tag + "replace " + pattern, netReplaced, replaced);
                    else
                        Expect(tag + "replace leaves none", replaced.IndexOf(pattern, StringComparison.Ordinal) < 0);
                    using (var other = new AnsiStr(pattern))
                    {
                        byte[] x = enc.GetBytes(s), y = enc.GetBytes(pattern);
                        int net = 0;
                        for (int i = 0; net == 0 && i < Math.Min(x.Length, y.Length); i++) net = x[i].CompareTo(y[i]);
                        if (net == 0) net = x.Length.CompareTo(y.Length);
                        Same(tag + "CompareTo", Math.Sign(net), a.CompareTo(other));
                        Same(tag + "Equals and hash", s == pattern, a.Equals(other) && a.GetHashCode() == other.GetHashCode());
                    }
                }
            }
        }

        // Numbers: text of random values, and random number-like texts.
        for (int round = 0; round < 300; round++)
        {
            int i = Rng.Next(int.MinValue, int.MaxValue);
            long l = ((long)Rng.Next() << 32) ^ Rng.Next() ^ ((long)Rng.Next(2) << 63);
            double d = Rng.Next(-100000000, 100000000) / 100.0;
            // At most four characters: no exponent that overflows (C reads
            // those as infinity, mono's parser refuses them).
            string junk = new string(Enumerable.Range(0, Rng.Next(1, 5)).Select(_ => " +-0123456789.e"[Rng.Next(15)]).ToArray());
            int parsedInt;
            double parsedDouble;
            bool isInt = int.TryParse(junk, NumberStyles.AllowLeadingWhite | NumberStyles.AllowLeadingSign, Inv, out parsedInt);
            bool isDouble = double.TryParse(junk, NumberStyles.Float & ~NumberStyles.AllowTrailingWhite, Inv, out parsedDouble);
            using (var a = new AnsiStr(i.ToString(Inv)))
            using (var w = new WideStr(junk))
            {
                Same("ToInt " + i, i, a.ToInt());
                Same("ToInt(default) [" + junk + "]", isInt ? parsedInt : -7, w.ToInt(-7));
                Same("ToDouble(default) [" + junk + "]", isDouble ? parsedDouble : -0.5, w.ToDouble(-0.5));
                if (!isInt) Throws<FormatException>("ToInt [" + junk + "]", FailureCode.Convert, () => w.ToInt());
            }
            Same("From(long)", l.ToString(Inv), AnsiStr.From(l).ToString());
            Same("From(ulong)", ((ulong)l).ToString(Inv), WideStr.From((ulong)l).ToString());
            Same("FromDouble " + d, d.ToString("R", Inv), WideStr.FromDouble(d).ToString());
            Same("Hex", i.ToString("X" + (i & 7), Inv), AnsiStr.Hex(i, i & 7).ToString());
        }
    }

    // Numbers beyond 32 bits are refused, not wrapped.
    static void Limits()
    {
        var table = new[] {
            new { Text = "2147483647", Value = int.MaxValue }, new { Text = " -2147483648", Value = int.MinValue },
            new { Text = "2147483648", Value = -7 }, new { Text = "4294967297", Value = -7 },
            new { Text = "-99999999999999999999999", Value = -7 }, new { Text = "0x00000000FFFFFFFF", Value = -1 },
            new { Text = "0x100000000", Value = -7 }, new { Text = "0000000000012", Value = 12 },
        };
        foreach (var row in table)
        {
            using (var a = new AnsiStr(row.Text))
            using (var w = new WideStr(row.Text))
                Expect("ToInt(default) [" + row.Text + "]", a.ToInt(-7) == row.Value && w.ToInt(-7) == row.Value);
        }
    }

    // ---- Failures, disposal, arguments, threads -----------------------------------

    static void Failures()
    {
        var cases = new[] {
            new { Name = "ToInt", Code = FailureCode.Convert, Type = typeof(FormatException),
                  Run = (Action)(() => new AnsiStr("12x").ToInt()) },
            new { Name = "A index", Code = FailureCode.Range, Type = typeof(ArgumentOutOfRangeException),
                  Run = (Action)(() => { var b = new AnsiStr("abc")[3]; }) },
            new { Name = "W index", Code = FailureCode.Range, Type = typeof(ArgumentOutOfRangeException),
                  Run = (Action)(() => { var c = new WideStr("abc")[-1]; }) },
            new { Name = "too long", Code = FailureCode.OutOfMemory, Type = typeof(OutOfMemoryException),
                  Run = (Action)(() => WideStr.OfChar('x', int.MaxValue)) },
            new { Name = "disposed", Code = FailureCode.InvalidHandle, Type = typeof(ObjectDisposedException),
                  Run = (Action)(() => { var a = new AnsiStr("7"); a.Dispose(); a.ToInt(); }) },
            new { Name = "disposed list", Code = FailureCode.InvalidHandle, Type = typeof(ObjectDisposedException),
                  Run = (Action)(() => { var l = new WideStrList(); l.Dispose(); var n = l.Count; }) },
        };
        foreach (var c in cases)
        {
            Exception caught = null;
            try { c.Run(); } catch (Exception e) { caught = e; }
            Expect(c.Name + " throws " + c.Type.Name, caught != null && c.Type.IsInstanceOfType(caught));
            var failure = caught as IQuarnelFailure;
            Expect(c.Name + " carries its code", failure != null && failure.Code == c.Code && caught.Message.Length > 0);
            if (failure == null) continue;
            // Serializable: type, message and code survive a round trip.
            var stream = new MemoryStream();
            new BinaryFormatter().Serialize(stream, caught);
            stream.Position = 0;
            var back = (Exception)new BinaryFormatter().Deserialize(stream);
            Expect(c.Name + " round-trips", back.GetType() == caught.GetType() && back.Message == caught.Message &&
                                            ((IQuarnelFailure)back).Code == c.Code);
            using (var after = new AnsiStr("7"))
                Same(c.Name + " then the library goes on", 7, after.ToInt());
        }

        // Every member on a disposed object is refused, never reads freed memory.
        var a1 = new AnsiStr("abc");
        var w1 = new WideStr("abc");
        a1.Dispose();
        w1.Dispose();
        a1.Dispose();  // twice is harmless
        var afterDispose = new Action[] {
            () => { var n = a1.Length; }, () => a1.ToString(), () => a1.Clone(), () => a1.Split(','),
            () => { var n = w1.Length; }, () => w1.ToString(), () => w1.IndexOf("b"), () => new AnsiStr(w1),
        };
        foreach (Action act in afterDispose) Throws<ObjectDisposedException>("after Dispose", FailureCode.InvalidHandle, act);

        // Null arguments name their parameter.
        var nulls = new[] {
            new { Param = "text", Run = (Action)(() => new AnsiStr((string)null)) },
            new { Param = "bytes", Run = (Action)(() => new AnsiStr((byte[])null)) },
            new { Param = "value", Run = (Action)(() => new WideStr("a").IndexOf((string)null)) },
            new { Param = "value", Run = (Action)(() => new AnsiStr("a").Append((AnsiStr)null)) },
            new { Param = "oldValue", Run = (Action)(() => new WideStr("a").Replace(null, "b")) },
            new { Param = "source", Run = (Action)(() => new WideStrList().SplitBySeparator(null, ',')) },
            new { Param = "widths", Run = (Action)(() => new AnsiStr("a").SplitFixed(null)) },
        };
        foreach (var n in nulls)
        {
            try { n.Run(); Expect("null " + n.Param + " throws", false); }
            catch (ArgumentNullException e) { Same("null argument's name", n.Param, e.ParamName); }
        }
        // Zero-terminated arguments refuse a zero rather than cut the text.
        Throws<ArgumentException>("zero in a search", 0, () => new WideStr("a").Replace("a\0b", "c"));
        Throws<ArgumentException>("separator of two bytes", 0, () => new AnsiStr("a").Split('\u0416'));

        // Threads that never touched the binding, and the finalizer thread:
        // failures come back as exceptions, handles are released anywhere.
        int threadFailures = 0;
        var threads = Enumerable.Range(0, 4).Select(k => new Thread(() => {
            try { new WideStr(k + "x").ToInt(); }
            catch (FormatException) { Interlocked.Increment(ref threadFailures); }
            new AnsiStr("left for the finalizer");
        })).ToList();
        threads.ForEach(t => t.Start());
        threads.ForEach(t => t.Join());
        var shared = new AnsiStr("disposed on another thread");
        var disposer = new Thread(() => shared.Dispose());
        disposer.Start();
        disposer.Join();
        GC.Collect();
        GC.WaitForPendingFinalizers();
        Same("failures on new threads", 4, threadFailures);
        Expect("disposed elsewhere", shared.Handle.IsClosed);
    }

    // ---- The rest of the surface: small tables -------------------------------------

    static void Surface()
    {
        using (var line = new AnsiStr("ABCDEFGHI"))
        {
            Same("fixed widths", "ABC|DE|FGHI", string.Join("|", line.SplitFixed(new[] { 3, 2, 4 })));
            Same("columns", "B|DEF", string.Join("|", line.SplitColumns(new[] { 2, 2, 4, 6 })));
            Same("count-limited", "A,B", string.Join(",", new AnsiStr("A,B,C").Split(',', 2, false)));
            using (var list = new AnsiStrList(1))  // grows one field at a time
            {
                Same("list enumerates", "a| b|", string.Join("|", list.SplitBySeparator(new AnsiStr("a, b,,"), ',')));
                using (AnsiStr field = list.GetStr(1))
                    Expect("list field as a string object", field.Length == 2 && list.Count == 3);
            }
        }
        string name, value;
        Expect("name=value", WideStr.TrySplitNameValue("port = 8080 = x", '=', true, out name, out value) &&
                             name == "port" && value == "8080 = x");
        Expect("no separator", !AnsiStr.TrySplitNameValue("port", '=', true, out name, out value) && name == null);

        // One-byte bool and two-byte char results.
        using (var a = new AnsiStr("a\\b"))
            Expect("bool results", a.IsPathDelimiter(1) && !a.IsPathDelimiter(2) && !a.IsPathDelimiter(9));
        using (var w = new WideStr("\u00e9\u20ac\U0001F600"))
            Expect("UTF-16 units", w[1] == '\u20ac' && w[3] == '\uDE00' && w.Length == 4 && w.LastCharIndex == 3);

        // Positions count from 0 whatever base the handle carries.
        using (var a = new AnsiStr("hello"))
        {
            Same("IndexOf base 1", 3, a.IndexOf("lo"));
            a.IndexBase = 0;
            Expect("IndexOf base 0", a.IndexOf("lo") == 3 && a.IndexOf("zz") == -1 && a[0] == (byte)'h' && a.IndexBase == 0);
            Same("Insert/Remove", "he-llo", a.Insert(2, "-").ToString());
            Same("Remove", "hello", a.Remove(2, 1).ToString());
        }

        // Conversions, formatting, cloning.
        AnsiStr implicitA = "caf\u00e9";
        WideStr implicitW = "x";
        Expect("implicit from string", implicitA.ToWide().ToString() == "caf\u00e9" && implicitW.Length == 1);
        using (var c = implicitA.Clone())
            Expect("clone is independent", c.Append("!").ToString() == "caf\u00e9!" && implicitA.ToString() == "caf\u00e9");
        Same("FormatFloat", "(1,234.00)", AnsiStr.FormatFloat("#,##0.00;(#,##0.00)", -1234).ToString());
        Same("pad", "00042", new WideStr("42").PadLeft(5, '0').ToString());
        Same("sorted", "a|B|b", string.Join("|", new[] { "b", "a", "B" }.Select(s => new WideStr(s)).OrderBy(s => s.ToLower().ToString()).ThenBy(s => s)));
    }

    static int Main()
    {
        int codePage = new AnsiStr("\u00e9").ToBytes().Length == 2 ? 65001 : 1252;
        Differential(codePage);
        Limits();
        Failures();
        Surface();
        Console.WriteLine("dotnet (code page {0}): {1} passed, {2} failed", codePage, passed, failed);
        return failed == 0 ? 0 : 1;
    }
}
