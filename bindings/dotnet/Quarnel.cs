// .NET host declarations for the Quarnel string-handle library.
//
// NativeMethods declares every export with its exact C types: A text goes in
// as zero-terminated byte[] in the library's ANSI code page, W text as
// UTF-16 (LPWStr); bool is one byte (I1), a W character two (U2). All use
// CallingConvention.Winapi, which is stdcall on 32-bit Windows and the
// platform's C convention everywhere else, so one declaration serves every
// platform. The caller-cleans variadic '_' exports are left out: P/Invoke has
// no portable way to call a C variadic function.
//
// AnsiStrHandle / WideStrHandle own one handle each and destroy it when
// disposed or finalized. AnsiStr / WideStr are the friendly layer: they put
// the calling thread in the library's record mode and turn each failure into
// a QuarnelException.
//
//     using (var line = new AnsiStr("a, b, c"))
//         foreach (string field in line.Split(',', true)) Console.WriteLine(field);
//     try { new AnsiStr("12x").ToInt(); }
//     catch (QuarnelConvertException e) { Console.WriteLine(e.Message); }
using System;
using System.Collections.Generic;
using System.Runtime.InteropServices;
using System.Text;

namespace Quarnel
{
    [StructLayout(LayoutKind.Sequential)]
    public struct CLAnsiStr
    {
        public IntPtr Handle;
        public byte Owned;  // 1: ending the wrapper destroys the handle
    }

    [StructLayout(LayoutKind.Sequential)]
    public struct CLWideStr
    {
        public IntPtr Handle;
        public byte Owned;
    }

    // A list the splitting functions fill; release it with LStrListEndA.
    [StructLayout(LayoutKind.Sequential)]
    public struct CLAnsiStrList
    {
        public int GrowBy;
        public int Capacity;
        public int Count;
        public IntPtr Items;  // Capacity pointers to CLAnsiStr
    }

    [StructLayout(LayoutKind.Sequential)]
    public struct CLWideStrList
    {
        public int GrowBy;
        public int Capacity;
        public int Count;
        public IntPtr Items;
    }

    public sealed class AnsiStrHandle : SafeHandle
    {
        public AnsiStrHandle() : base(IntPtr.Zero, true) { }
        // A borrowed handle (e.g. a list's field) that this object never destroys.
        public AnsiStrHandle(IntPtr raw, bool owns) : base(IntPtr.Zero, owns) { SetHandle(raw); }
        public override bool IsInvalid { get { return handle == IntPtr.Zero; } }
        protected override bool ReleaseHandle() { NativeMethods.LStrDestroyA(handle); return true; }
    }

    public sealed class WideStrHandle : SafeHandle
    {
        public WideStrHandle() : base(IntPtr.Zero, true) { }
        public WideStrHandle(IntPtr raw, bool owns) : base(IntPtr.Zero, owns) { SetHandle(raw); }
        public override bool IsInvalid { get { return handle == IntPtr.Zero; } }
        protected override bool ReleaseHandle() { NativeMethods.LStrDestroyW(handle); return true; }
    }

    public static class NativeMethods
    {
        public const string Library = "quarnel";  // Quarnel.dll, libquarnel.so

        // BEGIN GENERATED DECLARATIONS (tools/check_bindings.py --write)
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern AnsiStrHandle LStrAllocA();
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern WideStrHandle LStrAllocW();
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern AnsiStrHandle LStrAllocCloneAA(AnsiStrHandle src);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern WideStrHandle LStrAllocCloneWW(WideStrHandle src);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern AnsiStrHandle LStrAllocCloneWA(WideStrHandle src);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern WideStrHandle LStrAllocCloneAW(AnsiStrHandle src);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern AnsiStrHandle LStrAllocFromASzStrA(byte[] text, int length);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern AnsiStrHandle LStrAllocFromWSzStrA([MarshalAs(UnmanagedType.LPWStr)] string text, int length);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern WideStrHandle LStrAllocFromASzStrW(byte[] text, int length);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern WideStrHandle LStrAllocFromWSzStrW([MarshalAs(UnmanagedType.LPWStr)] string text, int length);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern AnsiStrHandle LStrAllocFromCharA(byte c);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern WideStrHandle LStrAllocFromCharW([MarshalAs(UnmanagedType.U2)] char c);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern AnsiStrHandle LStrAllocStringOfCharA(byte c, int count);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern WideStrHandle LStrAllocStringOfCharW([MarshalAs(UnmanagedType.U2)] char c, int count);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern void LStrDestroyA(IntPtr h);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern void LStrDestroyW(IntPtr h);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern void LStrUniqueA(AnsiStrHandle h);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern void LStrUniqueW(WideStrHandle h);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern int LStrGetCharIndexBaseA(AnsiStrHandle h);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern int LStrGetCharIndexBaseW(WideStrHandle h);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern int LStrSetCharIndexBaseA(AnsiStrHandle h, int @base);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern int LStrSetCharIndexBaseW(WideStrHandle h, int @base);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern IntPtr LStrCstrA(AnsiStrHandle h);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern IntPtr LStrCstrW(WideStrHandle h);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern IntPtr LStrCbstrW(WideStrHandle h);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern IntPtr LStrBSTRRef(WideStrHandle h);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern int LStrLengthA(AnsiStrHandle h);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern int LStrLengthW(WideStrHandle h);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern int LStrSetLengthA(AnsiStrHandle h, int length);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern int LStrSetLengthW(WideStrHandle h, int length);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern byte LStrGetCharAtA(AnsiStrHandle h, int position);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        [return: MarshalAs(UnmanagedType.U2)]
        public static extern char LStrGetCharAtW(WideStrHandle h, int position);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern void LStrSetCharAtA(AnsiStrHandle h, int position, byte c);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern void LStrSetCharAtW(WideStrHandle h, int position, [MarshalAs(UnmanagedType.U2)] char c);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern IntPtr LStrCharAddrAtA(AnsiStrHandle h, int position);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern IntPtr LStrCharAddrAtW(WideStrHandle h, int position);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern int LStrAssignA(AnsiStrHandle dst, AnsiStrHandle src);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern int LStrAssignW(WideStrHandle dst, WideStrHandle src);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern int LStrAssignASzStrA(AnsiStrHandle h, byte[] text, int length);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern int LStrAssignWSzStrW(WideStrHandle h, [MarshalAs(UnmanagedType.LPWStr)] string text, int length);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern int LStrAppendA(AnsiStrHandle dst, AnsiStrHandle src);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern int LStrAppendW(WideStrHandle dst, WideStrHandle src);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern int LStrAppendASzStrA(AnsiStrHandle h, byte[] text, int length);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern int LStrAppendWSzStrW(WideStrHandle h, [MarshalAs(UnmanagedType.LPWStr)] string text, int length);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern IntPtr LStrAppendCharA(AnsiStrHandle h, byte c);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern IntPtr LStrAppendCharW(WideStrHandle h, [MarshalAs(UnmanagedType.U2)] char c);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern int LStrCompareA(AnsiStrHandle a, AnsiStrHandle b);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern int LStrCompareICA(AnsiStrHandle a, AnsiStrHandle b);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern int LStrCompareW(WideStrHandle a, WideStrHandle b);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern int LStrCompareICW(WideStrHandle a, WideStrHandle b);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern int LStrPosA(AnsiStrHandle h, AnsiStrHandle pattern);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern int LStrPosW(WideStrHandle h, WideStrHandle pattern);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern int LStrPosPtrA(AnsiStrHandle h, byte[] pattern);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern int LStrPosPtrW(WideStrHandle h, [MarshalAs(UnmanagedType.LPWStr)] string pattern);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern int LStrUnicodePosW(WideStrHandle h, WideStrHandle pattern);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern int LStrAnsiPosA(AnsiStrHandle h, AnsiStrHandle pattern);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern AnsiStrHandle LStrSubStringA(AnsiStrHandle h, int pos, int count);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern WideStrHandle LStrSubStringW(WideStrHandle h, int pos, int count);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern AnsiStrHandle LStrLeftA(AnsiStrHandle h, int count);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern WideStrHandle LStrLeftW(WideStrHandle h, int count);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern AnsiStrHandle LStrRightA(AnsiStrHandle h, int count);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern WideStrHandle LStrRightW(WideStrHandle h, int count);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        [return: MarshalAs(UnmanagedType.I1)]
        public static extern bool LStrIsDelimiterA(AnsiStrHandle h, AnsiStrHandle delimiters, int pos);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        [return: MarshalAs(UnmanagedType.I1)]
        public static extern bool LStrIsDelimiterW(WideStrHandle h, WideStrHandle delimiters, int pos);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        [return: MarshalAs(UnmanagedType.I1)]
        public static extern bool LStrIsPathDelimiterA(AnsiStrHandle h, int pos);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        [return: MarshalAs(UnmanagedType.I1)]
        public static extern bool LStrIsPathDelimiterW(WideStrHandle h, int pos);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern int LStrLastDelimiterA(AnsiStrHandle h, AnsiStrHandle delimiters);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern int LStrLastDelimiterW(WideStrHandle h, WideStrHandle delimiters);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern IntPtr LStrAnsiLastCharA(AnsiStrHandle h);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern IntPtr LStrUnicodeLastCharW(WideStrHandle h);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern int LStrInsertA(AnsiStrHandle h, AnsiStrHandle source, int pos);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern int LStrInsertW(WideStrHandle h, WideStrHandle source, int pos);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern int LStrDeleteA(AnsiStrHandle h, int pos, int count);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern int LStrDeleteW(WideStrHandle h, int pos, int count);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern AnsiStrHandle LStrLowerCaseA(AnsiStrHandle h);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern WideStrHandle LStrLowerCaseW(WideStrHandle h);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern AnsiStrHandle LStrUpperCaseA(AnsiStrHandle h);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern WideStrHandle LStrUpperCaseW(WideStrHandle h);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern void LStrSelfLowerCaseA(AnsiStrHandle h);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern void LStrSelfLowerCaseW(WideStrHandle h);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern void LStrSelfUpperCaseA(AnsiStrHandle h);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern void LStrSelfUpperCaseW(WideStrHandle h);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern AnsiStrHandle LStrTrimA(AnsiStrHandle h);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern WideStrHandle LStrTrimW(WideStrHandle h);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern AnsiStrHandle LStrTrimLeftA(AnsiStrHandle h);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern WideStrHandle LStrTrimLeftW(WideStrHandle h);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern AnsiStrHandle LStrTrimRightA(AnsiStrHandle h);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern WideStrHandle LStrTrimRightW(WideStrHandle h);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern void LStrSelfTrimA(AnsiStrHandle h);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern void LStrSelfTrimW(WideStrHandle h);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern void LStrSelfTrimLeftA(AnsiStrHandle h);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern void LStrSelfTrimLeftW(WideStrHandle h);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern void LStrSelfTrimRightA(AnsiStrHandle h);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern void LStrSelfTrimRightW(WideStrHandle h);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern AnsiStrHandle LStrPadLeftA(AnsiStrHandle h, byte padChar, int width);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern WideStrHandle LStrPadLeftW(WideStrHandle h, [MarshalAs(UnmanagedType.U2)] char padChar, int width);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern AnsiStrHandle LStrPadRightA(AnsiStrHandle h, byte padChar, int width);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern WideStrHandle LStrPadRightW(WideStrHandle h, [MarshalAs(UnmanagedType.U2)] char padChar, int width);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern AnsiStrHandle LStrReplaceA(AnsiStrHandle h, byte[] search, byte[] replacement);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern WideStrHandle LStrReplaceW(WideStrHandle h, [MarshalAs(UnmanagedType.LPWStr)] string search, [MarshalAs(UnmanagedType.LPWStr)] string replacement);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern int SplitBySepA(ref CLAnsiStr source, byte separator, int slotCount, [In, Out] CLAnsiStr[] slots, [MarshalAs(UnmanagedType.I1)] bool trim);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern int SplitBySepW(ref CLWideStr source, [MarshalAs(UnmanagedType.U2)] char separator, int slotCount, [In, Out] CLWideStr[] slots, [MarshalAs(UnmanagedType.I1)] bool trim);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern int SplitBySepExA(ref CLAnsiStr source, byte separator, ref CLAnsiStrList list, [MarshalAs(UnmanagedType.I1)] bool trim);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern int SplitBySepExW(ref CLWideStr source, [MarshalAs(UnmanagedType.U2)] char separator, ref CLWideStrList list, [MarshalAs(UnmanagedType.I1)] bool trim);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern int SplitByFixedLayoutA(ref CLAnsiStr source, int fieldCount, int[] widths, ref CLAnsiStrList list, [MarshalAs(UnmanagedType.I1)] bool trim);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern int SplitByFixedLayoutW(ref CLWideStr source, int fieldCount, int[] widths, ref CLWideStrList list, [MarshalAs(UnmanagedType.I1)] bool trim);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern int SplitByFixedLayoutExA(ref CLAnsiStr source, int fieldCount, int[] columns, ref CLAnsiStrList list, [MarshalAs(UnmanagedType.I1)] bool trim);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern int SplitByFixedLayoutExW(ref CLWideStr source, int fieldCount, int[] columns, ref CLWideStrList list, [MarshalAs(UnmanagedType.I1)] bool trim);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        [return: MarshalAs(UnmanagedType.I1)]
        public static extern bool SplitNamedEquA(byte[] text, ref CLAnsiStrList list, [MarshalAs(UnmanagedType.I1)] bool trim, byte separator);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        [return: MarshalAs(UnmanagedType.I1)]
        public static extern bool SplitNamedEquW([MarshalAs(UnmanagedType.LPWStr)] string text, ref CLWideStrList list, [MarshalAs(UnmanagedType.I1)] bool trim, [MarshalAs(UnmanagedType.U2)] char separator);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern IntPtr LStrHeapAlloc(int bytes);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern void LStrHeapFree(IntPtr block);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern void LStrListEndA(ref CLAnsiStrList list);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern void LStrListEndW(ref CLWideStrList list);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern int LStrWideCharBufSizeA(AnsiStrHandle h);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern IntPtr LStrWideCharA(AnsiStrHandle h, [Out] char[] buffer, int capacity);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern int LStrWideCharBufSizeW(WideStrHandle h);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern AnsiStrHandle LStrAllocLoadStrA(IntPtr module, int id);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern WideStrHandle LStrAllocLoadStrW(IntPtr module, int id);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern AnsiStrHandle LStrAllocFromInt64A(long value);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern WideStrHandle LStrAllocFromInt64W(long value);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern AnsiStrHandle LStrAllocFromUInt64A(ulong value);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern WideStrHandle LStrAllocFromUInt64W(ulong value);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern AnsiStrHandle LStrAllocFromDoubleA(double value);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern WideStrHandle LStrAllocFromDoubleW(double value);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern AnsiStrHandle LStrIntToHexA(int value, int digits);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern WideStrHandle LStrIntToHexW(int value, int digits);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern int LStrToIntA(AnsiStrHandle h);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern int LStrToIntW(WideStrHandle h);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern int LStrToIntDefA(AnsiStrHandle h, int defaultValue);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern int LStrToIntDefW(WideStrHandle h, int defaultValue);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern double LStrToDoubleDefA(AnsiStrHandle h, double defaultValue);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern double LStrToDoubleDefW(WideStrHandle h, double defaultValue);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern IntPtr LStrAppendIntValueA(AnsiStrHandle h, int value);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern IntPtr LStrAppendIntValueW(WideStrHandle h, int value);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern AnsiStrHandle LStrFloatToStrFA(double value, int format, int precision, int digits);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern WideStrHandle LStrFloatToStrFW(double value, int format, int precision, int digits);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern AnsiStrHandle LStrFormatFloatA(AnsiStrHandle format, ref double value);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern WideStrHandle LStrFormatFloatW(WideStrHandle format, ref double value);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern int LStrSetFailureMode(int mode);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        public static extern uint LStrGetLastFailure([Out] byte[] message, int capacity);
        // END GENERATED DECLARATIONS
    }

    // ---- Failures ------------------------------------------------------------

    public class QuarnelException : Exception
    {
        public const uint Range = 0xE0510001, Convert = 0xE0510002, OutOfMemory = 0xE0510003,
                          InvalidHandle = 0xE0510004;
        public readonly uint Code;
        public QuarnelException(uint code, string message) : base(message) { Code = code; }

        public static QuarnelException For(uint code, string message)
        {
            switch (code)
            {
                case Range: return new QuarnelRangeException(message);
                case Convert: return new QuarnelConvertException(message);
                case OutOfMemory: return new QuarnelOutOfMemoryException(message);
                default: return new QuarnelException(code, message);
            }
        }
    }

    public class QuarnelRangeException : QuarnelException
    {
        public QuarnelRangeException(string m) : base(Range, m) { }
    }

    public class QuarnelConvertException : QuarnelException
    {
        public QuarnelConvertException(string m) : base(Convert, m) { }
    }

    public class QuarnelOutOfMemoryException : QuarnelException
    {
        public QuarnelOutOfMemoryException(string m) : base(OutOfMemory, m) { }
    }

    // Record mode for the calling thread, and the check after each call.
    public static class Failure
    {
        [ThreadStatic] private static byte[] message;

        // Call before the first export on a thread (the classes below do).
        public static void Record()
        {
            if (message != null) return;
            NativeMethods.LStrSetFailureMode(1);
            message = new byte[512];
        }

        // Throws the failure of the thread's last export, if it failed.
        public static void Check()
        {
            Record();
            uint code = NativeMethods.LStrGetLastFailure(message, message.Length);
            if (code == 0) return;
            int n = Array.IndexOf(message, (byte)0);
            throw QuarnelException.For(code, Encoding.UTF8.GetString(message, 0, n < 0 ? message.Length : n));
        }

        internal static T Checked<T>(T result) { Check(); return result; }

        // The texts of a filled list's first count wrappers (each wrapper's
        // handle is its first field).
        internal static List<string> Fields(IntPtr items, int count, Func<IntPtr, string> read)
        {
            var fields = new List<string>(count);
            for (int i = 0; i < count; i++)
                fields.Add(read(Marshal.ReadIntPtr(Marshal.ReadIntPtr(items, i * IntPtr.Size))));
            return fields;
        }
    }

    // ---- Friendly layer ----------------------------------------------------------

    // UTF-16 strings; text of a field or handle comes back as a .NET string.
    public sealed class WideStr : IDisposable
    {
        public readonly WideStrHandle Handle;

        public WideStr(string text)
        {
            Failure.Record();
            Handle = Failure.Checked(NativeMethods.LStrAllocFromWSzStrW(text, text.Length));
        }

        internal WideStr(WideStrHandle h) { Handle = h; }

        public int Length { get { return NativeMethods.LStrLengthW(Handle); } }
        public override string ToString() { return Read(Handle.DangerousGetHandle()); }
        public void Dispose() { Handle.Dispose(); }

        public int ToInt()
        {
            Failure.Record();
            return Failure.Checked(NativeMethods.LStrToIntW(Handle));
        }

        internal static string Read(IntPtr h)
        {
            using (var borrowed = new WideStrHandle(h, false))
            {
                int n = NativeMethods.LStrLengthW(borrowed);
                return n == 0 ? "" : Marshal.PtrToStringUni(NativeMethods.LStrCstrW(borrowed), n);
            }
        }

        public List<string> Split(char separator, bool trim)
        {
            Failure.Record();
            var source = new CLWideStr { Handle = Handle.DangerousGetHandle() };
            var list = new CLWideStrList { GrowBy = 16 };
            try
            {
                Failure.Checked(NativeMethods.SplitBySepExW(ref source, separator, ref list, trim));
                return Failure.Fields(list.Items, list.Count, Read);
            }
            finally
            {
                NativeMethods.LStrListEndW(ref list);
                GC.KeepAlive(this);
            }
        }
    }

    // Byte strings in the library's ANSI code page. .NET strings are handed
    // over as UTF-16 and converted by the library, so both sides agree on
    // the code page.
    public sealed class AnsiStr : IDisposable
    {
        public readonly AnsiStrHandle Handle;

        public AnsiStr(string text)
        {
            Failure.Record();
            Handle = Failure.Checked(NativeMethods.LStrAllocFromWSzStrA(text, text.Length));
        }

        internal AnsiStr(AnsiStrHandle h) { Handle = h; }

        public static AnsiStr OfChar(char c, int count)
        {
            Failure.Record();
            return new AnsiStr(Failure.Checked(NativeMethods.LStrAllocStringOfCharA((byte)c, count)));
        }

        public int Length { get { return NativeMethods.LStrLengthA(Handle); } }
        public void Dispose() { Handle.Dispose(); }

        public override string ToString() { return Read(Handle.DangerousGetHandle()); }

        internal static string Read(IntPtr h)
        {
            using (var borrowed = new AnsiStrHandle(h, false))
            using (var wide = new WideStr(Failure.Checked(NativeMethods.LStrAllocCloneAW(borrowed))))
                return wide.ToString();
        }

        public byte CharAt(int position)
        {
            Failure.Record();
            return Failure.Checked(NativeMethods.LStrGetCharAtA(Handle, position));
        }

        public int ToInt()
        {
            Failure.Record();
            return Failure.Checked(NativeMethods.LStrToIntA(Handle));
        }

        public void Append(string text)
        {
            using (var tail = new AnsiStr(text))
                Failure.Checked(NativeMethods.LStrAppendA(Handle, tail.Handle));
        }

        public List<string> Split(char separator, bool trim)
        {
            Failure.Record();
            var source = new CLAnsiStr { Handle = Handle.DangerousGetHandle() };
            var list = new CLAnsiStrList { GrowBy = 16 };
            try
            {
                Failure.Checked(NativeMethods.SplitBySepExA(ref source, (byte)separator, ref list, trim));
                return Failure.Fields(list.Items, list.Count, Read);
            }
            finally
            {
                NativeMethods.LStrListEndA(ref list);
                GC.KeepAlive(this);
            }
        }
    }
}
