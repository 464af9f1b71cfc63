// .NET binding of the Quarnel string-handle library, for mono and .NET.
//
// AnsiStr (bytes in the library's ANSI code page) and WideStr (UTF-16) each
// own one library handle, kept in a SafeHandle so that disposal and
// finalization are safe on any thread. They cover every export that .NET can
// call and behave like .NET strings where that makes sense: members count
// positions from 0, searches give -1 for "not found", and the classes
// implement IEquatable, IComparable, ICloneable and IEnumerable and convert
// implicitly from string. AnsiStrList / WideStrList hold the fields of a
// split and enumerate them as strings.
//
// Failures never leave the library as native exceptions: every thread that
// calls in through this assembly is first put in the library's record mode,
// and each recorded failure is thrown as the .NET exception a C# programmer
// expects (FormatException, ArgumentOutOfRangeException,
// OutOfMemoryException, ArgumentException, ObjectDisposedException), each
// also an IQuarnelFailure carrying the library's failure code.
//
//     using (var line = new AnsiStr("a, b, c"))
//         foreach (string field in line.Split(',', true)) Console.WriteLine(field);
//
// The P/Invoke declarations are internal: a raw call could run on a thread
// that is not in record mode, where a failure would end the process.
// Their library name, "Quarnel", loads Quarnel.dll on Windows; on Linux
// mono maps it to libquarnel.so.0 through Quarnel.Net.dll.config (shipped
// beside the assembly) and .NET through the resolver in Loader. The
// variadic '_' exports are left out: P/Invoke has no portable way to call a
// C variadic function.
using System;
using System.Collections;
using System.Collections.Generic;
using System.Reflection;
using System.Runtime.CompilerServices;
using System.Runtime.InteropServices;
using System.Runtime.Serialization;
using System.Security;

namespace Quarnel
{
    // ---- Interop types ---------------------------------------------------------

    // A host-side wrapper of one handle, as the splitting functions read and
    // fill it.
    [StructLayout(LayoutKind.Sequential)]
    internal struct CLAnsiStr
    {
        public IntPtr Handle;
        public byte Owned;  // 1: ending the wrapper destroys the handle
    }

    [StructLayout(LayoutKind.Sequential)]
    internal struct CLWideStr
    {
        public IntPtr Handle;
        public byte Owned;
    }

    // The layout of a wrapper list; lists live in the shared heap behind an
    // AnsiStrListHandle / WideStrListHandle.
    [StructLayout(LayoutKind.Sequential)]
    internal struct CLStrList
    {
        public int GrowBy;
        public int Capacity;
        public int Count;
        public IntPtr Items;  // Capacity pointers to wrappers
    }

    /// <summary>Owns one A-family handle and destroys it exactly once, on
    /// disposal or finalization, on whatever thread that happens.</summary>
    public sealed class AnsiStrHandle : SafeHandle
    {
        /// <summary>An invalid handle, for the interop marshaller.</summary>
        public AnsiStrHandle() : base(IntPtr.Zero, true) { }

        // A borrowed handle (a list's field) that this object never destroys.
        internal AnsiStrHandle(IntPtr raw, bool owns) : base(IntPtr.Zero, owns) { SetHandle(raw); }

        // Points a borrowed handle at another field.
        internal void Borrow(IntPtr raw) { SetHandle(raw); }

        /// <summary>True for the null handle.</summary>
        public override bool IsInvalid { get { return handle == IntPtr.Zero; } }

        /// <summary>Destroys the handle.</summary>
        protected override bool ReleaseHandle()
        {
            Failure.Enter();
            NativeMethods.LStrDestroyA(handle);
            return true;
        }
    }

    /// <summary>Owns one W-family handle and destroys it exactly once, on
    /// disposal or finalization, on whatever thread that happens.</summary>
    public sealed class WideStrHandle : SafeHandle
    {
        /// <summary>An invalid handle, for the interop marshaller.</summary>
        public WideStrHandle() : base(IntPtr.Zero, true) { }

        internal WideStrHandle(IntPtr raw, bool owns) : base(IntPtr.Zero, owns) { SetHandle(raw); }

        // Points a borrowed handle at another field.
        internal void Borrow(IntPtr raw) { SetHandle(raw); }

        /// <summary>True for the null handle.</summary>
        public override bool IsInvalid { get { return handle == IntPtr.Zero; } }

        /// <summary>Destroys the handle.</summary>
        protected override bool ReleaseHandle()
        {
            Failure.Enter();
            NativeMethods.LStrDestroyW(handle);
            return true;
        }
    }

    // A wrapper list in the shared heap, ended and freed on release.
    internal abstract class StrListHandle : SafeHandle
    {
        internal static readonly int CountOffset = (int)Marshal.OffsetOf(typeof(CLStrList), "Count");
        internal static readonly int ItemsOffset = (int)Marshal.OffsetOf(typeof(CLStrList), "Items");

        protected StrListHandle(int growBy) : base(IntPtr.Zero, true)
        {
            Failure.Enter();
            IntPtr block = NativeMethods.LStrHeapAlloc(Marshal.SizeOf(typeof(CLStrList)));
            if (block == IntPtr.Zero) throw new QuarnelOutOfMemoryException("no memory for a field list");
            Marshal.StructureToPtr(new CLStrList { GrowBy = growBy }, block, false);
            SetHandle(block);
        }

        public override bool IsInvalid { get { return handle == IntPtr.Zero; } }

        internal int Count { get { return Marshal.ReadInt32(handle, CountOffset); } }

        // The handle of field i (each wrapper's handle is its first field).
        internal IntPtr Field(int i)
        {
            return Marshal.ReadIntPtr(Marshal.ReadIntPtr(Marshal.ReadIntPtr(handle, ItemsOffset), i * IntPtr.Size));
        }
    }

    internal sealed class AnsiStrListHandle : StrListHandle
    {
        public AnsiStrListHandle() : this(8) { }
        internal AnsiStrListHandle(int growBy) : base(growBy) { }

        protected override bool ReleaseHandle()
        {
            Failure.Enter();
            NativeMethods.LStrListEndA(handle);
            NativeMethods.LStrHeapFree(handle);
            return true;
        }
    }

    internal sealed class WideStrListHandle : StrListHandle
    {
        public WideStrListHandle() : this(8) { }
        internal WideStrListHandle(int growBy) : base(growBy) { }

        protected override bool ReleaseHandle()
        {
            Failure.Enter();
            NativeMethods.LStrListEndW(handle);
            NativeMethods.LStrHeapFree(handle);
            return true;
        }
    }

    internal static class NativeMethods
    {
        // Quarnel.dll on Windows; mapped to libquarnel.so.0 elsewhere (see Loader).
        internal const string Library = "Quarnel";

        // BEGIN GENERATED DECLARATIONS (tools/check_bindings.py --write)
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern AnsiStrHandle LStrAllocA();
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern WideStrHandle LStrAllocW();
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern AnsiStrHandle LStrAllocCloneAA(AnsiStrHandle src);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern WideStrHandle LStrAllocCloneWW(WideStrHandle src);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern AnsiStrHandle LStrAllocCloneWA(WideStrHandle src);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern WideStrHandle LStrAllocCloneAW(AnsiStrHandle src);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern AnsiStrHandle LStrAllocFromASzStrA(byte[] text, int length);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern AnsiStrHandle LStrAllocFromWSzStrA([MarshalAs(UnmanagedType.LPWStr)] string text, int length);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern WideStrHandle LStrAllocFromASzStrW(byte[] text, int length);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern WideStrHandle LStrAllocFromWSzStrW([MarshalAs(UnmanagedType.LPWStr)] string text, int length);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern AnsiStrHandle LStrAllocFromCharA(byte c);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern WideStrHandle LStrAllocFromCharW([MarshalAs(UnmanagedType.U2)] char c);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern AnsiStrHandle LStrAllocStringOfCharA(byte c, int count);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern WideStrHandle LStrAllocStringOfCharW([MarshalAs(UnmanagedType.U2)] char c, int count);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern void LStrDestroyA(IntPtr h);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern void LStrDestroyW(IntPtr h);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern void LStrUniqueA(AnsiStrHandle h);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern void LStrUniqueW(WideStrHandle h);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern int LStrGetCharIndexBaseA(AnsiStrHandle h);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern int LStrGetCharIndexBaseW(WideStrHandle h);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern int LStrSetCharIndexBaseA(AnsiStrHandle h, int @base);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern int LStrSetCharIndexBaseW(WideStrHandle h, int @base);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern IntPtr LStrCstrA(AnsiStrHandle h);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern IntPtr LStrCstrW(WideStrHandle h);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern IntPtr LStrCbstrW(WideStrHandle h);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern IntPtr LStrBSTRRef(WideStrHandle h);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern int LStrLengthA(AnsiStrHandle h);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern int LStrLengthW(WideStrHandle h);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern int LStrSetLengthA(AnsiStrHandle h, int length);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern int LStrSetLengthW(WideStrHandle h, int length);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern byte LStrGetCharAtA(AnsiStrHandle h, int position);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        [return: MarshalAs(UnmanagedType.U2)]
        internal static extern char LStrGetCharAtW(WideStrHandle h, int position);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern void LStrSetCharAtA(AnsiStrHandle h, int position, byte c);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern void LStrSetCharAtW(WideStrHandle h, int position, [MarshalAs(UnmanagedType.U2)] char c);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern IntPtr LStrCharAddrAtA(AnsiStrHandle h, int position);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern IntPtr LStrCharAddrAtW(WideStrHandle h, int position);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern int LStrAssignA(AnsiStrHandle dst, AnsiStrHandle src);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern int LStrAssignW(WideStrHandle dst, WideStrHandle src);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern int LStrAssignASzStrA(AnsiStrHandle h, byte[] text, int length);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern int LStrAssignWSzStrW(WideStrHandle h, [MarshalAs(UnmanagedType.LPWStr)] string text, int length);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern int LStrAppendA(AnsiStrHandle dst, AnsiStrHandle src);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern int LStrAppendW(WideStrHandle dst, WideStrHandle src);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern int LStrAppendASzStrA(AnsiStrHandle h, byte[] text, int length);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern int LStrAppendWSzStrW(WideStrHandle h, [MarshalAs(UnmanagedType.LPWStr)] string text, int length);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern IntPtr LStrAppendCharA(AnsiStrHandle h, byte c);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern IntPtr LStrAppendCharW(WideStrHandle h, [MarshalAs(UnmanagedType.U2)] char c);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern int LStrCompareA(AnsiStrHandle a, AnsiStrHandle b);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern int LStrCompareICA(AnsiStrHandle a, AnsiStrHandle b);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern int LStrCompareW(WideStrHandle a, WideStrHandle b);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern int LStrCompareICW(WideStrHandle a, WideStrHandle b);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern int LStrPosA(AnsiStrHandle h, AnsiStrHandle pattern);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern int LStrPosW(WideStrHandle h, WideStrHandle pattern);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern int LStrPosPtrA(AnsiStrHandle h, byte[] pattern);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern int LStrPosPtrW(WideStrHandle h, [MarshalAs(UnmanagedType.LPWStr)] string pattern);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern int LStrUnicodePosW(WideStrHandle h, WideStrHandle pattern);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern int LStrAnsiPosA(AnsiStrHandle h, AnsiStrHandle pattern);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern AnsiStrHandle LStrSubStringA(AnsiStrHandle h, int pos, int count);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern WideStrHandle LStrSubStringW(WideStrHandle h, int pos, int count);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern AnsiStrHandle LStrLeftA(AnsiStrHandle h, int count);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern WideStrHandle LStrLeftW(WideStrHandle h, int count);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern AnsiStrHandle LStrRightA(AnsiStrHandle h, int count);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern WideStrHandle LStrRightW(WideStrHandle h, int count);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        [return: MarshalAs(UnmanagedType.I1)]
        internal static extern bool LStrIsDelimiterA(AnsiStrHandle h, AnsiStrHandle delimiters, int pos);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        [return: MarshalAs(UnmanagedType.I1)]
        internal static extern bool LStrIsDelimiterW(WideStrHandle h, WideStrHandle delimiters, int pos);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        [return: MarshalAs(UnmanagedType.I1)]
        internal static extern bool LStrIsPathDelimiterA(AnsiStrHandle h, int pos);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        [return: MarshalAs(UnmanagedType.I1)]
        internal static extern bool LStrIsPathDelimiterW(WideStrHandle h, int pos);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern int LStrLastDelimiterA(AnsiStrHandle h, AnsiStrHandle delimiters);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern int LStrLastDelimiterW(WideStrHandle h, WideStrHandle delimiters);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern IntPtr LStrAnsiLastCharA(AnsiStrHandle h);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern IntPtr LStrUnicodeLastCharW(WideStrHandle h);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern int LStrInsertA(AnsiStrHandle h, AnsiStrHandle source, int pos);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern int LStrInsertW(WideStrHandle h, WideStrHandle source, int pos);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern int LStrDeleteA(AnsiStrHandle h, int pos, int count);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern int LStrDeleteW(WideStrHandle h, int pos, int count);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern AnsiStrHandle LStrLowerCaseA(AnsiStrHandle h);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern WideStrHandle LStrLowerCaseW(WideStrHandle h);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern AnsiStrHandle LStrUpperCaseA(AnsiStrHandle h);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern WideStrHandle LStrUpperCaseW(WideStrHandle h);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern void LStrSelfLowerCaseA(AnsiStrHandle h);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern void LStrSelfLowerCaseW(WideStrHandle h);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern void LStrSelfUpperCaseA(AnsiStrHandle h);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern void LStrSelfUpperCaseW(WideStrHandle h);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern AnsiStrHandle LStrTrimA(AnsiStrHandle h);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern WideStrHandle LStrTrimW(WideStrHandle h);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern AnsiStrHandle LStrTrimLeftA(AnsiStrHandle h);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern WideStrHandle LStrTrimLeftW(WideStrHandle h);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern AnsiStrHandle LStrTrimRightA(AnsiStrHandle h);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern WideStrHandle LStrTrimRightW(WideStrHandle h);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern void LStrSelfTrimA(AnsiStrHandle h);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern void LStrSelfTrimW(WideStrHandle h);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern void LStrSelfTrimLeftA(AnsiStrHandle h);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern void LStrSelfTrimLeftW(WideStrHandle h);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern void LStrSelfTrimRightA(AnsiStrHandle h);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern void LStrSelfTrimRightW(WideStrHandle h);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern AnsiStrHandle LStrPadLeftA(AnsiStrHandle h, byte padChar, int width);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern WideStrHandle LStrPadLeftW(WideStrHandle h, [MarshalAs(UnmanagedType.U2)] char padChar, int width);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern AnsiStrHandle LStrPadRightA(AnsiStrHandle h, byte padChar, int width);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern WideStrHandle LStrPadRightW(WideStrHandle h, [MarshalAs(UnmanagedType.U2)] char padChar, int width);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern AnsiStrHandle LStrReplaceA(AnsiStrHandle h, byte[] search, byte[] replacement);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern WideStrHandle LStrReplaceW(WideStrHandle h, [MarshalAs(UnmanagedType.LPWStr)] string search, [MarshalAs(UnmanagedType.LPWStr)] string replacement);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern int SplitBySepA(ref CLAnsiStr source, byte separator, int slotCount, [In, Out] CLAnsiStr[] slots, [MarshalAs(UnmanagedType.I1)] bool trim);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern int SplitBySepW(ref CLWideStr source, [MarshalAs(UnmanagedType.U2)] char separator, int slotCount, [In, Out] CLWideStr[] slots, [MarshalAs(UnmanagedType.I1)] bool trim);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern int SplitBySepExA(ref CLAnsiStr source, byte separator, AnsiStrListHandle list, [MarshalAs(UnmanagedType.I1)] bool trim);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern int SplitBySepExW(ref CLWideStr source, [MarshalAs(UnmanagedType.U2)] char separator, WideStrListHandle list, [MarshalAs(UnmanagedType.I1)] bool trim);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern int SplitByFixedLayoutA(ref CLAnsiStr source, int fieldCount, int[] widths, AnsiStrListHandle list, [MarshalAs(UnmanagedType.I1)] bool trim);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern int SplitByFixedLayoutW(ref CLWideStr source, int fieldCount, int[] widths, WideStrListHandle list, [MarshalAs(UnmanagedType.I1)] bool trim);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern int SplitByFixedLayoutExA(ref CLAnsiStr source, int fieldCount, int[] columns, AnsiStrListHandle list, [MarshalAs(UnmanagedType.I1)] bool trim);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern int SplitByFixedLayoutExW(ref CLWideStr source, int fieldCount, int[] columns, WideStrListHandle list, [MarshalAs(UnmanagedType.I1)] bool trim);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        [return: MarshalAs(UnmanagedType.I1)]
        internal static extern bool SplitNamedEquA(byte[] text, AnsiStrListHandle list, [MarshalAs(UnmanagedType.I1)] bool trim, byte separator);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        [return: MarshalAs(UnmanagedType.I1)]
        internal static extern bool SplitNamedEquW([MarshalAs(UnmanagedType.LPWStr)] string text, WideStrListHandle list, [MarshalAs(UnmanagedType.I1)] bool trim, [MarshalAs(UnmanagedType.U2)] char separator);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern IntPtr LStrHeapAlloc(int bytes);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern void LStrHeapFree(IntPtr block);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern void LStrListEndA(IntPtr list);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern void LStrListEndW(IntPtr list);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern int LStrWideCharBufSizeA(AnsiStrHandle h);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern IntPtr LStrWideCharA(AnsiStrHandle h, [Out] char[] buffer, int capacity);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern int LStrWideCharBufSizeW(WideStrHandle h);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern AnsiStrHandle LStrAllocLoadStrA(IntPtr module, int id);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern WideStrHandle LStrAllocLoadStrW(IntPtr module, int id);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern AnsiStrHandle LStrAllocFromInt64A(long value);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern WideStrHandle LStrAllocFromInt64W(long value);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern AnsiStrHandle LStrAllocFromUInt64A(ulong value);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern WideStrHandle LStrAllocFromUInt64W(ulong value);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern AnsiStrHandle LStrAllocFromDoubleA(double value);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern WideStrHandle LStrAllocFromDoubleW(double value);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern AnsiStrHandle LStrIntToHexA(int value, int digits);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern WideStrHandle LStrIntToHexW(int value, int digits);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern int LStrToIntA(AnsiStrHandle h);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern int LStrToIntW(WideStrHandle h);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern int LStrToIntDefA(AnsiStrHandle h, int defaultValue);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern int LStrToIntDefW(WideStrHandle h, int defaultValue);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern double LStrToDoubleDefA(AnsiStrHandle h, double defaultValue);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern double LStrToDoubleDefW(WideStrHandle h, double defaultValue);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern IntPtr LStrAppendIntValueA(AnsiStrHandle h, int value);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern IntPtr LStrAppendIntValueW(WideStrHandle h, int value);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern AnsiStrHandle LStrFloatToStrFA(double value, int format, int precision, int digits);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern WideStrHandle LStrFloatToStrFW(double value, int format, int precision, int digits);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern AnsiStrHandle LStrFormatFloatA(AnsiStrHandle format, ref double value);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern WideStrHandle LStrFormatFloatW(WideStrHandle format, ref double value);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern int LStrSetFailureMode(int mode);
        [DllImport(Library, CallingConvention = CallingConvention.Winapi, ExactSpelling = true, CharSet = CharSet.Unicode)]
        internal static extern uint LStrGetLastFailure([Out] byte[] message, int capacity);
        // END GENERATED DECLARATIONS
    }

    // Finds the shared library under .NET, whose loader knows neither mono's
    // dllmap nor the Linux file name. NativeLibrary does not exist in mono's
    // class library, so it is reached through reflection: the same assembly
    // builds with mcs and runs on both runtimes.
    internal static class Loader
    {
        static readonly MethodInfo tryLoad;

        static Loader()
        {
            Type native = Type.GetType("System.Runtime.InteropServices.NativeLibrary");
            Type resolver = Type.GetType("System.Runtime.InteropServices.DllImportResolver");
            if (native == null || resolver == null) return;  // mono: the dllmap does it
            tryLoad = native.GetMethod("TryLoad", new[] { typeof(string), typeof(IntPtr).MakeByRefType() });
            MethodInfo set = native.GetMethod("SetDllImportResolver", new[] { typeof(Assembly), resolver });
            MethodInfo resolve = typeof(Loader).GetMethod("Resolve", BindingFlags.NonPublic | BindingFlags.Static);
            if (tryLoad == null || set == null) return;
            try
            {
                set.Invoke(null, new object[] { typeof(Loader).Assembly, Delegate.CreateDelegate(resolver, resolve) });
            }
            catch (TargetInvocationException)
            {
                // Another resolver is already registered for this assembly.
            }
        }

        // Touching the class runs the static constructor once per process.
        internal static void Ensure() { }

        // The file names of the library on this platform, most specific first.
        internal static string[] Candidates()
        {
            switch (Environment.OSVersion.Platform)
            {
                case PlatformID.Win32NT: return new[] { "Quarnel.dll" };
                case PlatformID.MacOSX: return new[] { "libquarnel.0.dylib", "libquarnel.dylib" };
                default: return new[] { "libquarnel.so.0", "libquarnel.so" };
            }
        }

        static IntPtr Resolve(string name, Assembly assembly, DllImportSearchPath? path)
        {
            if (name != NativeMethods.Library) return IntPtr.Zero;
            foreach (string file in Candidates())
            {
                var args = new object[] { file, IntPtr.Zero };
                if ((bool)tryLoad.Invoke(null, args)) return (IntPtr)args[1];
            }
            return IntPtr.Zero;  // the runtime's own search, and its error
        }
    }

    // ---- Failures -------------------------------------------------------------

    /// <summary>The failure codes the library records (the codes of its
    /// structured exceptions on Windows).</summary>
    public static class FailureCode
    {
        /// <summary>A position outside the text.</summary>
        public const uint Range = 0xE0510001;
        /// <summary>Text that is not a number.</summary>
        public const uint Convert = 0xE0510002;
        /// <summary>Memory exhausted, or a text longer than a handle can hold.</summary>
        public const uint OutOfMemory = 0xE0510003;
        /// <summary>A destroyed or foreign handle (checked-handles mode), or
        /// an object already disposed.</summary>
        public const uint InvalidHandle = 0xE0510004;
        /// <summary>Any other failure.</summary>
        public const uint Internal = 0xE05100FF;
    }

    /// <summary>Implemented by every exception this binding throws for a
    /// failure: the library's failure code.</summary>
    public interface IQuarnelFailure
    {
        /// <summary>One of the <see cref="FailureCode"/> values.</summary>
        uint Code { get; }
    }

    /// <summary>Text that is not a number.</summary>
    [Serializable]
    public class QuarnelFormatException : FormatException, IQuarnelFailure
    {
        readonly uint code;

        /// <summary>A conversion failure with the library's message.</summary>
        public QuarnelFormatException(string message) : base(message) { code = FailureCode.Convert; }

        /// <summary>Restores a serialized failure.</summary>
        protected QuarnelFormatException(SerializationInfo info, StreamingContext context)
            : base(info, context) { code = info.GetUInt32(Failure.CodeKey); }

        /// <summary><see cref="FailureCode.Convert"/>.</summary>
        public uint Code { get { return code; } }

        /// <summary>Serializes the failure with its code.</summary>
        [SecurityCritical]
        public override void GetObjectData(SerializationInfo info, StreamingContext context)
        {
            base.GetObjectData(info, context);
            info.AddValue(Failure.CodeKey, code);
        }
    }

    /// <summary>A position outside the text.</summary>
    [Serializable]
    public class QuarnelRangeException : ArgumentOutOfRangeException, IQuarnelFailure
    {
        readonly uint code;

        /// <summary>A range failure of the argument paramName.</summary>
        public QuarnelRangeException(string paramName, string message) : base(paramName, message)
        {
            code = FailureCode.Range;
        }

        /// <summary>Restores a serialized failure.</summary>
        protected QuarnelRangeException(SerializationInfo info, StreamingContext context)
            : base(info, context) { code = info.GetUInt32(Failure.CodeKey); }

        /// <summary><see cref="FailureCode.Range"/>.</summary>
        public uint Code { get { return code; } }

        /// <summary>Serializes the failure with its code.</summary>
        [SecurityCritical]
        public override void GetObjectData(SerializationInfo info, StreamingContext context)
        {
            base.GetObjectData(info, context);
            info.AddValue(Failure.CodeKey, code);
        }
    }

    /// <summary>Memory exhausted, or a text longer than a handle can hold;
    /// the handles involved keep their text.</summary>
    [Serializable]
    public class QuarnelOutOfMemoryException : OutOfMemoryException, IQuarnelFailure
    {
        readonly uint code;

        /// <summary>An out-of-memory failure with the library's message.</summary>
        public QuarnelOutOfMemoryException(string message) : base(message) { code = FailureCode.OutOfMemory; }

        /// <summary>Restores a serialized failure.</summary>
        protected QuarnelOutOfMemoryException(SerializationInfo info, StreamingContext context)
            : base(info, context) { code = info.GetUInt32(Failure.CodeKey); }

        /// <summary><see cref="FailureCode.OutOfMemory"/>.</summary>
        public uint Code { get { return code; } }

        /// <summary>Serializes the failure with its code.</summary>
        [SecurityCritical]
        public override void GetObjectData(SerializationInfo info, StreamingContext context)
        {
            base.GetObjectData(info, context);
            info.AddValue(Failure.CodeKey, code);
        }
    }

    /// <summary>A handle the library refused (checked-handles mode), or any
    /// failure the library reports with a code this binding does not know
    /// (<see cref="FailureCode.Internal"/> among them).</summary>
    [Serializable]
    public class QuarnelInvalidHandleException : ArgumentException, IQuarnelFailure
    {
        readonly uint code;

        /// <summary>A failure with its code and the library's message.</summary>
        public QuarnelInvalidHandleException(uint code, string message) : base(message) { this.code = code; }

        /// <summary>Restores a serialized failure.</summary>
        protected QuarnelInvalidHandleException(SerializationInfo info, StreamingContext context)
            : base(info, context) { code = info.GetUInt32(Failure.CodeKey); }

        /// <summary>The failure code.</summary>
        public uint Code { get { return code; } }

        /// <summary>Serializes the failure with its code.</summary>
        [SecurityCritical]
        public override void GetObjectData(SerializationInfo info, StreamingContext context)
        {
            base.GetObjectData(info, context);
            info.AddValue(Failure.CodeKey, code);
        }
    }

    /// <summary>A string or list used after it was disposed.</summary>
    [Serializable]
    public class QuarnelDisposedException : ObjectDisposedException, IQuarnelFailure
    {
        readonly uint code;

        /// <summary>Use of the disposed object named objectName.</summary>
        public QuarnelDisposedException(string objectName) : base(objectName) { code = FailureCode.InvalidHandle; }

        /// <summary>Restores a serialized failure.</summary>
        protected QuarnelDisposedException(SerializationInfo info, StreamingContext context)
            : base(info, context) { code = info.GetUInt32(Failure.CodeKey); }

        /// <summary><see cref="FailureCode.InvalidHandle"/>.</summary>
        public uint Code { get { return code; } }

        /// <summary>Serializes the failure with its code.</summary>
        [SecurityCritical]
        public override void GetObjectData(SerializationInfo info, StreamingContext context)
        {
            base.GetObjectData(info, context);
            info.AddValue(Failure.CodeKey, code);
        }
    }

    // Record mode for each calling thread, and the failure check after a call.
    internal static class Failure
    {
        internal const string CodeKey = "QuarnelCode";

        [ThreadStatic] static bool recording;

        // Before any export on this thread (cheap after the first time).
        [MethodImpl(MethodImplOptions.AggressiveInlining)]
        internal static void Enter()
        {
            if (!recording) Start();
        }

        static void Start()
        {
            Loader.Ensure();
            NativeMethods.LStrSetFailureMode(1);
            recording = true;
        }

        // After a call whose result was the zero of its type (a failing call
        // returns that zero): throws its failure if there was one.
        internal static void Check(string paramName = null)
        {
            if (NativeMethods.LStrGetLastFailure(null, 0) != 0) Throw(paramName);
        }

        // After a call that returned no handle: that is always a failure.
        internal static AnsiStrHandle Handle(AnsiStrHandle h)
        {
            if (h.IsInvalid) { Check(); throw new QuarnelInvalidHandleException(FailureCode.Internal, "no handle returned"); }
            return h;
        }

        internal static WideStrHandle Handle(WideStrHandle h)
        {
            if (h.IsInvalid) { Check(); throw new QuarnelInvalidHandleException(FailureCode.Internal, "no handle returned"); }
            return h;
        }

        [MethodImpl(MethodImplOptions.NoInlining)]
        static void Throw(string paramName)
        {
            var text = new byte[1024];
            uint code = NativeMethods.LStrGetLastFailure(text, text.Length);
            throw Create(code, Message(text), paramName);
        }

        internal static Exception Create(uint code, string message, string paramName)
        {
            switch (code)
            {
                case FailureCode.Range: return new QuarnelRangeException(paramName, message);
                case FailureCode.Convert: return new QuarnelFormatException(message);
                case FailureCode.OutOfMemory: return new QuarnelOutOfMemoryException(message);
                default: return new QuarnelInvalidHandleException(code, message);
            }
        }

        // The message is in the library's ANSI code page: the library
        // decodes it.
        static string Message(byte[] text)
        {
            int n = Array.IndexOf(text, (byte)0);
            if (n <= 0) return "";
            WideStrHandle h = NativeMethods.LStrAllocFromASzStrW(text, n);
            if (h.IsInvalid) return System.Text.Encoding.ASCII.GetString(text, 0, n);
            using (h) return WideStr.Read(h);
        }
    }

    internal static class Numbers
    {
        static readonly char[] Space = { ' ', '\t', '\n', '\v', '\f', '\r' };

        // Whether integer text that the library accepted is within 32 bits
        // (as a value, or as a pattern of at most 8 hexadecimal digits).
        internal static bool FitsInt(string text)
        {
            string t = text.TrimStart(Space);
            if (t.Length > 2 && t[0] == '0' && (t[1] == 'x' || t[1] == 'X'))
                return t.Substring(2).TrimStart('0').Length <= 8;
            long value;
            return long.TryParse(t, System.Globalization.NumberStyles.AllowLeadingSign,
                                 System.Globalization.CultureInfo.InvariantCulture, out value) &&
                   value >= int.MinValue && value <= int.MaxValue;
        }
    }

    /// <summary>Layouts of <see cref="AnsiStr.FromDouble(double, FloatFormat, int, int)"/>.</summary>
    public enum FloatFormat
    {
        /// <summary>Shortest text of precision significant digits; digits is
        /// the exponent's minimum width (0 to 4).</summary>
        General = 0,
        /// <summary>"d.dddE+ddd": precision digits, an exponent of at least
        /// digits digits.</summary>
        Exponent = 1,
        /// <summary>digits decimals, after rounding to precision significant digits.</summary>
        Fixed = 2,
        /// <summary>As Fixed, with thousands separators.</summary>
        Number = 3,
        /// <summary>As Number, laid out with the user's currency symbol.</summary>
        Currency = 4,
    }

    /// <summary>The heap the library shares with its hosts (the process heap
    /// on Windows, malloc elsewhere), for list storage built by hand.</summary>
    public static class SharedHeap
    {
        /// <summary>A block of at least bytes bytes; release it with
        /// <see cref="Free"/>.</summary>
        /// <exception cref="ArgumentOutOfRangeException">bytes is negative.</exception>
        /// <exception cref="OutOfMemoryException">No memory is left.</exception>
        public static IntPtr Allocate(int bytes)
        {
            if (bytes < 0) throw new ArgumentOutOfRangeException("bytes");
            Failure.Enter();
            IntPtr block = NativeMethods.LStrHeapAlloc(bytes);
            if (block == IntPtr.Zero) throw new QuarnelOutOfMemoryException("no memory for " + bytes + " bytes");
            return block;
        }

        /// <summary>Releases a block from <see cref="Allocate"/>; IntPtr.Zero is ignored.</summary>
        public static void Free(IntPtr block)
        {
            Failure.Enter();
            NativeMethods.LStrHeapFree(block);
        }
    }

    // ---- Strings ---------------------------------------------------------------

    /// <summary>A byte string in the library's ANSI code page (the system's
    /// on Windows, QUARNEL_ACP or the locale's on Linux), with the text
    /// operations of .NET strings. Members count positions from 0; .NET
    /// strings given to it are converted to the code page by the library and
    /// back by <see cref="ToString"/>. Dispose it (or let it be finalized) to
    /// release the handle. One object must not be used by two threads at once.</summary>
    public sealed class AnsiStr : IDisposable, IEquatable<AnsiStr>, IComparable<AnsiStr>, IComparable,
                                  ICloneable, IEnumerable<byte>
    {
        readonly AnsiStrHandle handle;
        int bias = 1;  // the handle's index base: positions go in as index + bias

        internal AnsiStr(AnsiStrHandle h) { handle = Failure.Handle(h); }

        /// <summary>An empty string.</summary>
        public AnsiStr() : this(Begin().Alloc()) { }

        /// <summary>text converted to the code page (characters it lacks
        /// become its default character; zero characters are kept).</summary>
        /// <exception cref="ArgumentNullException">text is null.</exception>
        public AnsiStr(string text) : this(Begin().From(Text(text, "text"))) { }

        /// <summary>The bytes as they are, zero bytes included.</summary>
        /// <exception cref="ArgumentNullException">bytes is null.</exception>
        public AnsiStr(byte[] bytes) : this(Begin().From(Bytes(bytes, "bytes"))) { }

        /// <summary>text's UTF-16 units up to its first zero unit, converted
        /// to the code page.</summary>
        /// <exception cref="ArgumentNullException">text is null.</exception>
        public AnsiStr(WideStr text) : this(NativeMethods.LStrAllocCloneWA(WideStr.Live(text, "text"))) { }

        // The constructors' first step: record mode before their call.
        struct Starter
        {
            internal AnsiStrHandle Alloc() { return NativeMethods.LStrAllocA(); }
            internal AnsiStrHandle From(string t) { return NativeMethods.LStrAllocFromWSzStrA(t, t.Length); }
            internal AnsiStrHandle From(byte[] b) { return NativeMethods.LStrAllocFromASzStrA(b, b.Length); }
        }

        static Starter Begin()
        {
            Failure.Enter();
            return new Starter();
        }

        /// <summary>A new string holding text, or null for null.</summary>
        public static implicit operator AnsiStr(string text) { return text == null ? null : new AnsiStr(text); }

        /// <summary>A string of one byte (a zero byte included).</summary>
        public static AnsiStr FromChar(byte c)
        {
            Failure.Enter();
            return new AnsiStr(NativeMethods.LStrAllocFromCharA(c));
        }

        /// <summary>count copies of c; empty for count &lt;= 0.</summary>
        /// <exception cref="OutOfMemoryException">The text would be too long.</exception>
        public static AnsiStr OfChar(byte c, int count)
        {
            Failure.Enter();
            return new AnsiStr(NativeMethods.LStrAllocStringOfCharA(c, count));
        }

        /// <summary>count copies of c, which must be one byte in the code page.</summary>
        /// <exception cref="ArgumentException">c is not one byte in the code page.</exception>
        public static AnsiStr OfChar(char c, int count) { return OfChar(CodePageByte(c, "c"), count); }

        /// <summary>The decimal text of value.</summary>
        public static AnsiStr From(long value)
        {
            Failure.Enter();
            return new AnsiStr(NativeMethods.LStrAllocFromInt64A(value));
        }

        /// <summary>The decimal text of value.</summary>
        public static AnsiStr From(ulong value)
        {
            Failure.Enter();
            return new AnsiStr(NativeMethods.LStrAllocFromUInt64A(value));
        }

        /// <summary>The general text of value: at most 15 significant digits,
        /// the user's decimal separator, "NAN", "INF", "-INF".</summary>
        public static AnsiStr FromDouble(double value)
        {
            Failure.Enter();
            return new AnsiStr(NativeMethods.LStrAllocFromDoubleA(value));
        }

        /// <summary>value laid out by format with precision significant
        /// digits (1 to 18) and digits as the format says.</summary>
        public static AnsiStr FromDouble(double value, FloatFormat format, int precision, int digits)
        {
            Failure.Enter();
            return new AnsiStr(NativeMethods.LStrFloatToStrFA(value, (int)format, precision, digits));
        }

        /// <summary>value's 32-bit pattern in upper-case hexadecimal,
        /// zero-padded to at least digits digits.</summary>
        public static AnsiStr Hex(int value, int digits)
        {
            Failure.Enter();
            return new AnsiStr(NativeMethods.LStrIntToHexA(value, digits));
        }

        /// <summary>value laid out by picture ("#,##0.00;(#,##0.00)", "0.000E+00").</summary>
        /// <exception cref="ArgumentNullException">picture is null.</exception>
        public static AnsiStr FormatFloat(string picture, double value)
        {
            using (var p = new AnsiStr(Text(picture, "picture"))) return p.FormatFloat(value);
        }

        /// <summary>value laid out by this string as the picture.</summary>
        public AnsiStr FormatFloat(double value)
        {
            return new AnsiStr(NativeMethods.LStrFormatFloatA(H, ref value));
        }

        /// <summary>Entry id of a module's string table (on Windows an
        /// HMODULE, elsewhere a dlopen handle; IntPtr.Zero: the program),
        /// empty when absent.</summary>
        public static AnsiStr Load(IntPtr module, int id)
        {
            Failure.Enter();
            return new AnsiStr(NativeMethods.LStrAllocLoadStrA(module, id));
        }

        /// <summary>The handle, for passing to native code; it stays owned by
        /// this object.</summary>
        public AnsiStrHandle Handle { get { return handle; } }

        // The live handle, with the thread in record mode.
        internal AnsiStrHandle H
        {
            get
            {
                if (handle.IsClosed) throw new QuarnelDisposedException("AnsiStr");
                Failure.Enter();
                return handle;
            }
        }

        internal static AnsiStrHandle Live(AnsiStr s, string paramName)
        {
            if (s == null) throw new ArgumentNullException(paramName);
            return s.H;
        }

        /// <summary>Releases the handle; later use throws
        /// <see cref="ObjectDisposedException"/>.</summary>
        public void Dispose() { handle.Dispose(); }

        /// <summary>A new string with this text: the payload is shared, so
        /// this takes constant time (a change to either copies it).</summary>
        public AnsiStr Clone() { return new AnsiStr(NativeMethods.LStrAllocCloneAA(H)); }

        object ICloneable.Clone() { return Clone(); }

        /// <summary>The text converted to UTF-16, zero bytes included.</summary>
        public WideStr ToWide() { return new WideStr(NativeMethods.LStrAllocCloneAW(H)); }

        /// <summary>Gives this string a private copy of a shared payload.</summary>
        public void MakeUnique()
        {
            NativeMethods.LStrUniqueA(H);
            Failure.Check();
        }

        /// <summary>The base (0 or 1) the library applies to positions on
        /// this handle when it is passed to native code; 1 for new strings.
        /// This class's own members count from 0 whatever it is.</summary>
        /// <exception cref="ArgumentOutOfRangeException">Setting other than 0 or 1.</exception>
        public int IndexBase
        {
            get
            {
                int b = NativeMethods.LStrGetCharIndexBaseA(H);
                if (b == 0) Failure.Check();
                return b;
            }
            set
            {
                if (value != 0 && value != 1) throw new ArgumentOutOfRangeException("value", "the base is 0 or 1");
                if (NativeMethods.LStrSetCharIndexBaseA(H, value) == 0) Failure.Check();
                bias = value;
            }
        }

        int At(int index)
        {
            long p = (long)index + bias;
            return p > int.MaxValue ? int.MaxValue : (int)p;
        }

        /// <summary>The number of bytes, zero bytes included. Setting keeps
        /// the first bytes; added bytes have unspecified values.</summary>
        /// <exception cref="ArgumentOutOfRangeException">Setting a negative length.</exception>
        /// <exception cref="OutOfMemoryException">Setting a length the library cannot hold.</exception>
        public int Length
        {
            get
            {
                int n = NativeMethods.LStrLengthA(H);
                if (n == 0) Failure.Check();
                return n;
            }
            set
            {
                if (value < 0) throw new ArgumentOutOfRangeException("value", "a length is not negative");
                if (NativeMethods.LStrSetLengthA(H, value) == 0) Failure.Check();
            }
        }

        /// <summary>The byte at index.</summary>
        /// <exception cref="ArgumentOutOfRangeException">index is outside the text.</exception>
        public byte this[int index]
        {
            get
            {
                byte c = NativeMethods.LStrGetCharAtA(H, At(index));
                if (c == 0) Failure.Check("index");
                return c;
            }
            set
            {
                NativeMethods.LStrSetCharAtA(H, At(index), value);
                Failure.Check("index");
            }
        }

        /// <summary>The address of the byte at index, writable within the
        /// length until this string next changes (the payload is made
        /// private first).</summary>
        /// <exception cref="ArgumentOutOfRangeException">index is outside the text.</exception>
        public IntPtr DangerousGetCharAddress(int index)
        {
            IntPtr p = NativeMethods.LStrCharAddrAtA(H, At(index));
            if (p == IntPtr.Zero) Failure.Check("index");
            return p;
        }

        /// <summary>The index of the last character's first byte (its lead
        /// byte when it is a double-byte character), -1 when empty.</summary>
        public int LastCharIndex
        {
            get
            {
                IntPtr last = NativeMethods.LStrAnsiLastCharA(H);
                if (last == IntPtr.Zero) { Failure.Check(); return -1; }
                return (int)((long)last - (long)NativeMethods.LStrCstrA(handle));
            }
        }

        /// <summary>The bytes, zero bytes included.</summary>
        public byte[] ToBytes() { return Copy(H, 0); }

        // The handle's bytes followed by extra zero bytes.
        static byte[] Copy(AnsiStrHandle h, int extra)
        {
            int n = NativeMethods.LStrLengthA(h);
            if (n == 0) Failure.Check();
            var bytes = new byte[n + extra];
            if (n > 0) Marshal.Copy(NativeMethods.LStrCstrA(h), bytes, 0, n);
            GC.KeepAlive(h);
            return bytes;
        }

        /// <summary>The text decoded from the code page, zero bytes included.</summary>
        public override string ToString() { return Read(H); }

        internal static string Read(AnsiStrHandle h)
        {
            if (NativeMethods.LStrLengthA(h) == 0) { Failure.Check(); return ""; }
            using (WideStrHandle w = Failure.Handle(NativeMethods.LStrAllocCloneAW(h))) return WideStr.Read(w);
        }

        // A list field's text (which ends at its first zero byte, if any).
        internal static string ReadField(AnsiStrHandle h)
        {
            int size = NativeMethods.LStrWideCharBufSizeA(h);
            if (size <= 1) { Failure.Check(); return ""; }
            var buffer = new char[size];
            if (NativeMethods.LStrWideCharA(h, buffer, size) == IntPtr.Zero) Failure.Check();
            return new string(buffer, 0, size - 1);
        }

        /// <summary>The text up to its first zero byte decoded into UTF-16
        /// units by the library's wide-character bridge.</summary>
        public char[] ToCharArray()
        {
            int size = NativeMethods.LStrWideCharBufSizeA(H);
            if (size == 0) Failure.Check();
            var buffer = new char[size];
            if (NativeMethods.LStrWideCharA(handle, buffer, size) == IntPtr.Zero) Failure.Check();
            Array.Resize(ref buffer, Math.Max(0, size - 1));  // without the terminator
            return buffer;
        }

        /// <summary>The bytes, in order.</summary>
        public IEnumerator<byte> GetEnumerator() { return ((IEnumerable<byte>)ToBytes()).GetEnumerator(); }

        IEnumerator IEnumerable.GetEnumerator() { return GetEnumerator(); }

        // ---- Assignment and appending ----

        /// <summary>Makes this text value's (sharing its payload).</summary>
        public AnsiStr Assign(AnsiStr value)
        {
            AnsiStrHandle v = Live(value, "value");
            if (NativeMethods.LStrAssignA(H, v) == 0) Failure.Check();
            return this;
        }

        /// <summary>Makes this text bytes.</summary>
        public AnsiStr Assign(byte[] bytes)
        {
            Bytes(bytes, "bytes");
            if (NativeMethods.LStrAssignASzStrA(H, bytes, bytes.Length) == 0) Failure.Check();
            return this;
        }

        /// <summary>Makes this text value converted to the code page.</summary>
        public AnsiStr Assign(string value)
        {
            using (var v = new AnsiStr(Text(value, "value"))) return Assign(v);
        }

        /// <summary>Appends value's text (this string's own included).</summary>
        public AnsiStr Append(AnsiStr value)
        {
            AnsiStrHandle v = Live(value, "value");
            if (NativeMethods.LStrAppendA(H, v) == 0) Failure.Check();
            return this;
        }

        /// <summary>Appends bytes.</summary>
        public AnsiStr Append(byte[] bytes)
        {
            Bytes(bytes, "bytes");
            if (NativeMethods.LStrAppendASzStrA(H, bytes, bytes.Length) == 0) Failure.Check();
            return this;
        }

        /// <summary>Appends value converted to the code page.</summary>
        public AnsiStr Append(string value)
        {
            using (var v = new AnsiStr(Text(value, "value"))) return Append(v);
        }

        /// <summary>Appends one byte (a zero byte included).</summary>
        public AnsiStr Append(byte c)
        {
            if (NativeMethods.LStrAppendCharA(H, c) == IntPtr.Zero) Failure.Check();
            return this;
        }

        /// <summary>Appends value's decimal text.</summary>
        public AnsiStr Append(int value)
        {
            if (NativeMethods.LStrAppendIntValueA(H, value) == IntPtr.Zero) Failure.Check();
            return this;
        }

        // ---- Comparison ----

        /// <summary>Byte-by-byte comparison of the whole texts (a proper
        /// prefix sorts first): -1, 0 or 1; null sorts first.</summary>
        public int CompareTo(AnsiStr other)
        {
            if (other == null) return 1;
            int r = NativeMethods.LStrCompareA(H, other.H);
            if (r == 0) Failure.Check();
            return r;
        }

        int IComparable.CompareTo(object obj)
        {
            if (obj != null && !(obj is AnsiStr)) throw new ArgumentException("not an AnsiStr", "obj");
            return CompareTo((AnsiStr)obj);
        }

        /// <summary>Case-insensitive comparison under the user's locale, each
        /// text up to its first zero byte: negative, zero or positive.</summary>
        /// <exception cref="ArgumentNullException">other is null.</exception>
        public int CompareIgnoreCase(AnsiStr other)
        {
            AnsiStrHandle o = Live(other, "other");
            int r = NativeMethods.LStrCompareICA(H, o);
            if (r == 0) Failure.Check();
            return r;
        }

        /// <summary>True when other holds the same bytes.</summary>
        public bool Equals(AnsiStr other) { return other != null && CompareTo(other) == 0; }

        /// <summary>True when obj is an AnsiStr with the same bytes.</summary>
        public override bool Equals(object obj) { return Equals(obj as AnsiStr); }

        /// <summary>A hash of the bytes, equal for equal strings.</summary>
        public override int GetHashCode()
        {
            uint hash = 2166136261;
            foreach (byte b in ToBytes()) hash = (hash ^ b) * 16777619;
            return (int)hash;
        }

        /// <summary>Equality of the texts; two nulls are equal.</summary>
        public static bool operator ==(AnsiStr a, AnsiStr b)
        {
            return ReferenceEquals(a, null) ? ReferenceEquals(b, null) : a.Equals(b);
        }

        /// <summary>Inequality of the texts.</summary>
        public static bool operator !=(AnsiStr a, AnsiStr b) { return !(a == b); }

        // ---- Searching and cutting ----

        /// <summary>The index of the first occurrence of value (exact bytes),
        /// or -1; an empty value is never found.</summary>
        public int IndexOf(AnsiStr value)
        {
            AnsiStrHandle v = Live(value, "value");
            int r = NativeMethods.LStrPosA(H, v);
            if (r == 0) Failure.Check();
            return r - bias;
        }

        /// <summary>The index of the first occurrence of value converted to
        /// the code page, or -1; an empty value is never found.</summary>
        public int IndexOf(string value)
        {
            using (var v = new AnsiStr(Text(value, "value"))) return IndexOf(v);
        }

        /// <summary>The index of the first occurrence of bytes up to their
        /// first zero byte, or -1.</summary>
        public int IndexOf(byte[] bytes)
        {
            int r = NativeMethods.LStrPosPtrA(H, ZeroTerminated(bytes, "bytes"));
            if (r == 0) Failure.Check();
            return r - bias;
        }

        /// <summary>As <see cref="IndexOf(AnsiStr)"/>, both texts up to their
        /// first zero byte, never matching from the trail byte of a
        /// double-byte character.</summary>
        public int AnsiIndexOf(AnsiStr value)
        {
            AnsiStrHandle v = Live(value, "value");
            int r = NativeMethods.LStrAnsiPosA(H, v);
            if (r == 0) Failure.Check();
            return r - bias;
        }

        /// <summary>True when value occurs in the text.</summary>
        public bool Contains(string value) { return IndexOf(value) >= 0; }

        /// <summary>count bytes from startIndex (the rest for a negative
        /// count); a start before the text counts from its first byte, one
        /// past it gives an empty string.</summary>
        public AnsiStr Substring(int startIndex, int count)
        {
            return new AnsiStr(NativeMethods.LStrSubStringA(H, At(startIndex), count));
        }

        /// <summary>The bytes from startIndex on.</summary>
        public AnsiStr Substring(int startIndex) { return Substring(startIndex, -1); }

        /// <summary>The first count bytes (all of them when count is at least
        /// the length, none for count &lt;= 0).</summary>
        public AnsiStr Left(int count) { return new AnsiStr(NativeMethods.LStrLeftA(H, count)); }

        /// <summary>The last count bytes.</summary>
        public AnsiStr Right(int count) { return new AnsiStr(NativeMethods.LStrRightA(H, count)); }

        /// <summary>True when the byte at index is one of delimiters (never a
        /// byte of a double-byte character; false outside the text).</summary>
        public bool IsDelimiter(string delimiters, int index)
        {
            using (var d = new AnsiStr(Text(delimiters, "delimiters")))
            {
                bool r = NativeMethods.LStrIsDelimiterA(H, d.H, At(index));
                if (!r) Failure.Check();
                return r;
            }
        }

        /// <summary>True when the byte at index is a backslash.</summary>
        public bool IsPathDelimiter(int index)
        {
            bool r = NativeMethods.LStrIsPathDelimiterA(H, At(index));
            if (!r) Failure.Check();
            return r;
        }

        /// <summary>The index of the last byte that is one of delimiters, or -1.</summary>
        public int LastIndexOfAny(string delimiters)
        {
            using (var d = new AnsiStr(Text(delimiters, "delimiters")))
            {
                int r = NativeMethods.LStrLastDelimiterA(H, d.H);
                if (r == 0) Failure.Check();
                return r - bias;
            }
        }

        // ---- Editing in place ----

        /// <summary>Inserts value so that it starts at index (before the text:
        /// at the start; past it: at the end).</summary>
        public AnsiStr Insert(int index, AnsiStr value)
        {
            AnsiStrHandle v = Live(value, "value");
            if (NativeMethods.LStrInsertA(H, v, At(index)) == 0) Failure.Check();
            return this;
        }

        /// <summary>Inserts value converted to the code page at index.</summary>
        public AnsiStr Insert(int index, string value)
        {
            using (var v = new AnsiStr(Text(value, "value"))) return Insert(index, v);
        }

        /// <summary>Removes up to count bytes from index; nothing outside the text.</summary>
        public AnsiStr Remove(int index, int count)
        {
            if (NativeMethods.LStrDeleteA(H, At(index), count) == 0) Failure.Check();
            return this;
        }

        // ---- Case, trimming, padding, replacement ----

        /// <summary>A lower-case copy under the user's locale (same length).</summary>
        public AnsiStr ToLower() { return new AnsiStr(NativeMethods.LStrLowerCaseA(H)); }

        /// <summary>An upper-case copy under the user's locale (same length).</summary>
        public AnsiStr ToUpper() { return new AnsiStr(NativeMethods.LStrUpperCaseA(H)); }

        /// <summary>Lower-cases this text.</summary>
        public AnsiStr LowerInPlace()
        {
            NativeMethods.LStrSelfLowerCaseA(H);
            Failure.Check();
            return this;
        }

        /// <summary>Upper-cases this text.</summary>
        public AnsiStr UpperInPlace()
        {
            NativeMethods.LStrSelfUpperCaseA(H);
            Failure.Check();
            return this;
        }

        /// <summary>A copy without the bytes 0 to 32 at either end.</summary>
        public AnsiStr Trim() { return new AnsiStr(NativeMethods.LStrTrimA(H)); }

        /// <summary>A copy without the bytes 0 to 32 at the start.</summary>
        public AnsiStr TrimStart() { return new AnsiStr(NativeMethods.LStrTrimLeftA(H)); }

        /// <summary>A copy without the bytes 0 to 32 at the end.</summary>
        public AnsiStr TrimEnd() { return new AnsiStr(NativeMethods.LStrTrimRightA(H)); }

        /// <summary>Removes the bytes 0 to 32 at either end.</summary>
        public AnsiStr TrimInPlace()
        {
            NativeMethods.LStrSelfTrimA(H);
            Failure.Check();
            return this;
        }

        /// <summary>Removes the bytes 0 to 32 at the start.</summary>
        public AnsiStr TrimStartInPlace()
        {
            NativeMethods.LStrSelfTrimLeftA(H);
            Failure.Check();
            return this;
        }

        /// <summary>Removes the bytes 0 to 32 at the end.</summary>
        public AnsiStr TrimEndInPlace()
        {
            NativeMethods.LStrSelfTrimRightA(H);
            Failure.Check();
            return this;
        }

        /// <summary>A copy padded on the left with padding to totalWidth
        /// bytes (never shortened).</summary>
        public AnsiStr PadLeft(int totalWidth, byte padding = (byte)' ')
        {
            return new AnsiStr(NativeMethods.LStrPadLeftA(H, padding, totalWidth));
        }

        /// <summary>A copy padded on the right with padding to totalWidth bytes.</summary>
        public AnsiStr PadRight(int totalWidth, byte padding = (byte)' ')
        {
            return new AnsiStr(NativeMethods.LStrPadRightA(H, padding, totalWidth));
        }

        /// <summary>A copy with every occurrence of oldValue replaced by
        /// newValue (null or empty: deleted), repeated while replacements
        /// form new occurrences unless that would not end.</summary>
        /// <exception cref="ArgumentException">A value holds a zero character.</exception>
        public AnsiStr Replace(string oldValue, string newValue)
        {
            byte[] search = CodePageText(oldValue, "oldValue");
            byte[] replacement = newValue == null ? null : CodePageText(newValue, "newValue");
            return new AnsiStr(NativeMethods.LStrReplaceA(H, search, replacement));
        }

        /// <summary>As <see cref="Replace(string, string)"/> with byte texts,
        /// each up to its first zero byte.</summary>
        public AnsiStr Replace(byte[] oldValue, byte[] newValue)
        {
            byte[] search = ZeroTerminated(oldValue, "oldValue");
            byte[] replacement = newValue == null ? null : ZeroTerminated(newValue, "newValue");
            return new AnsiStr(NativeMethods.LStrReplaceA(H, search, replacement));
        }

        // ---- Splitting ----

        /// <summary>The fields between separators (a leading or doubled
        /// separator gives an empty field, a final one none), trimmed of
        /// bytes 0 to 32 when trim is set, each cut at its first zero byte.</summary>
        /// <exception cref="ArgumentException">separator is not one byte in the code page.</exception>
        public string[] Split(char separator, bool trim = false)
        {
            return AnsiStrList.Scratch.SplitBySeparator(this, separator, trim).ToArray();
        }

        /// <summary>At most count fields, split as <see cref="Split(char, bool)"/>; the rest of
        /// the line is dropped.</summary>
        public string[] Split(char separator, int count, bool trim)
        {
            byte sep = CodePageByte(separator, "separator");
            if (count <= 0) return new string[0];
            var slots = new CLAnsiStr[count];
            var owners = new AnsiStrHandle[count];
            AnsiStrHandle h = H;
            bool added = false;
            try
            {
                for (int i = 0; i < count; i++)
                {
                    owners[i] = Failure.Handle(NativeMethods.LStrAllocA());
                    slots[i].Handle = owners[i].DangerousGetHandle();
                }
                h.DangerousAddRef(ref added);
                var source = new CLAnsiStr { Handle = h.DangerousGetHandle() };
                int n = NativeMethods.SplitBySepA(ref source, sep, count, slots, trim);
                if (n == 0) Failure.Check();
                var fields = new string[n];
                for (int i = 0; i < n; i++) fields[i] = Read(owners[i]);
                return fields;
            }
            finally
            {
                if (added) h.DangerousRelease();
                foreach (AnsiStrHandle o in owners)
                    if (o != null) o.Dispose();
            }
        }

        /// <summary>Fields of the given widths laid end to end (a negative
        /// width takes the rest of the line).</summary>
        public string[] SplitFixed(int[] widths, bool trim = false)
        {
            return AnsiStrList.Scratch.SplitFixed(this, widths, trim).ToArray();
        }

        /// <summary>Fields by column ranges: pairs (first, last), columns
        /// counted from 1, the last included.</summary>
        public string[] SplitColumns(int[] columns, bool trim = false)
        {
            return AnsiStrList.Scratch.SplitColumns(this, columns, trim).ToArray();
        }

        /// <summary>Splits "name=value" text at the first separator; false
        /// (name and value null) when there is none.</summary>
        public static bool TrySplitNameValue(string text, char separator, bool trim, out string name, out string value)
        {
            using (var fields = new AnsiStrList())
            {
                bool found = fields.SplitNameValue(text, separator, trim);
                name = found ? fields[0] : null;
                value = found ? fields[1] : null;
                return found;
            }
        }

        // ---- Numbers ----

        /// <summary>The text as an integer: optional spaces and sign, then
        /// decimal digits in the 32-bit range or hexadecimal ones after "$",
        /// "x" or "0x".</summary>
        /// <exception cref="FormatException">The text is not such a number.</exception>
        public int ToInt()
        {
            int r = NativeMethods.LStrToIntA(H);
            if (r == 0) Failure.Check();
            return r;
        }

        /// <summary>The whole text as a decimal (or "0x" hexadecimal) integer,
        /// or defaultValue, also for a number beyond 32 bits (decimal) or
        /// 8 hexadecimal digits.</summary>
        public int ToInt(int defaultValue)
        {
            int r = NativeMethods.LStrToIntDefA(H, defaultValue);
            if (r == 0) Failure.Check();
            // The library wraps longer numbers; only a text of ten or more
            // characters can hold one.
            if (r != defaultValue && NativeMethods.LStrLengthA(handle) > 9 && !Numbers.FitsInt(ToString()))
                return defaultValue;
            return r;
        }

        /// <summary>The whole text as a number with "." as the decimal point,
        /// or defaultValue.</summary>
        public double ToDouble(double defaultValue)
        {
            double r = NativeMethods.LStrToDoubleDefA(H, defaultValue);
            if (r == 0) Failure.Check();
            return r;
        }

        // ---- Argument helpers ----

        internal static string Text(string text, string paramName)
        {
            if (text == null) throw new ArgumentNullException(paramName);
            return text;
        }

        static byte[] Bytes(byte[] bytes, string paramName)
        {
            if (bytes == null) throw new ArgumentNullException(paramName);
            return bytes;
        }

        // bytes up to their first zero, zero-terminated.
        static byte[] ZeroTerminated(byte[] bytes, string paramName)
        {
            Bytes(bytes, paramName);
            int n = Array.IndexOf(bytes, (byte)0);
            if (n >= 0) return bytes;
            var z = new byte[bytes.Length + 1];
            Buffer.BlockCopy(bytes, 0, z, 0, bytes.Length);
            return z;
        }

        // text in the code page, zero-terminated; a zero character would cut
        // it short, so it is refused.
        internal static byte[] CodePageText(string text, string paramName)
        {
            Text(text, paramName);
            if (text.IndexOf('\0') >= 0)
                throw new ArgumentException("a zero character would end the text there", paramName);
            using (var t = new AnsiStr(text)) return Copy(t.H, 1);
        }

        // c as the one byte that stands for it in the code page.
        internal static byte CodePageByte(char c, string paramName)
        {
            if (c < 0x80) return (byte)c;
            using (var t = new AnsiStr(c.ToString()))
            {
                byte[] b = t.ToBytes();
                if (b.Length != 1 || t.ToString() != c.ToString())
                    throw new ArgumentException("'" + c + "' is not one byte in the ANSI code page", paramName);
                return b[0];
            }
        }
    }

    // ---- Strings ---------------------------------------------------------------

    /// <summary>A UTF-16 string (its payload a BSTR), with the text
    /// operations of .NET strings. Members count positions from 0 and
    /// lengths in UTF-16 units, as .NET strings do. Dispose it (or let it be
    /// finalized) to release the handle. One object must not be used by two
    /// threads at once.</summary>
    public sealed class WideStr : IDisposable, IEquatable<WideStr>, IComparable<WideStr>, IComparable,
                                  ICloneable, IEnumerable<char>
    {
        readonly WideStrHandle handle;
        int bias = 1;  // the handle's index base: positions go in as index + bias

        internal WideStr(WideStrHandle h) { handle = Failure.Handle(h); }

        /// <summary>An empty string.</summary>
        public WideStr() : this(Begin().Alloc()) { }

        /// <summary>A string with text's units, zero units included.</summary>
        /// <exception cref="ArgumentNullException">text is null.</exception>
        public WideStr(string text) : this(Begin().From(Text(text, "text"))) { }

        /// <summary>Text in the library's ANSI code page, decoded (zero
        /// bytes included).</summary>
        /// <exception cref="ArgumentNullException">ansiBytes is null.</exception>
        public WideStr(byte[] ansiBytes) : this(Begin().From(Bytes(ansiBytes, "ansiBytes"))) { }

        /// <summary>text decoded from the code page, zero bytes included.</summary>
        /// <exception cref="ArgumentNullException">text is null.</exception>
        public WideStr(AnsiStr text) : this(NativeMethods.LStrAllocCloneAW(AnsiStr.Live(text, "text"))) { }

        // The constructors' first step: record mode before their call.
        struct Starter
        {
            internal WideStrHandle Alloc() { return NativeMethods.LStrAllocW(); }
            internal WideStrHandle From(string t) { return NativeMethods.LStrAllocFromWSzStrW(t, t.Length); }
            internal WideStrHandle From(byte[] b) { return NativeMethods.LStrAllocFromASzStrW(b, b.Length); }
        }

        static Starter Begin()
        {
            Failure.Enter();
            return new Starter();
        }

        /// <summary>A new string holding text, or null for null.</summary>
        public static implicit operator WideStr(string text) { return text == null ? null : new WideStr(text); }

        /// <summary>A string of one unit (empty for '\0').</summary>
        public static WideStr FromChar(char c)
        {
            Failure.Enter();
            return new WideStr(NativeMethods.LStrAllocFromCharW(c));
        }

        /// <summary>count copies of c; empty for count &lt;= 0.</summary>
        /// <exception cref="OutOfMemoryException">The text would be too long.</exception>
        public static WideStr OfChar(char c, int count)
        {
            Failure.Enter();
            return new WideStr(NativeMethods.LStrAllocStringOfCharW(c, count));
        }


        /// <summary>The decimal text of value.</summary>
        public static WideStr From(long value)
        {
            Failure.Enter();
            return new WideStr(NativeMethods.LStrAllocFromInt64W(value));
        }

        /// <summary>The decimal text of value.</summary>
        public static WideStr From(ulong value)
        {
            Failure.Enter();
            return new WideStr(NativeMethods.LStrAllocFromUInt64W(value));
        }

        /// <summary>The general text of value: at most 15 significant digits,
        /// the user's decimal separator, "NAN", "INF", "-INF".</summary>
        public static WideStr FromDouble(double value)
        {
            Failure.Enter();
            return new WideStr(NativeMethods.LStrAllocFromDoubleW(value));
        }

        /// <summary>value laid out by format with precision significant
        /// digits (1 to 18) and digits as the format says.</summary>
        public static WideStr FromDouble(double value, FloatFormat format, int precision, int digits)
        {
            Failure.Enter();
            return new WideStr(NativeMethods.LStrFloatToStrFW(value, (int)format, precision, digits));
        }

        /// <summary>value's 32-bit pattern in upper-case hexadecimal,
        /// zero-padded to at least digits digits.</summary>
        public static WideStr Hex(int value, int digits)
        {
            Failure.Enter();
            return new WideStr(NativeMethods.LStrIntToHexW(value, digits));
        }

        /// <summary>value laid out by picture ("#,##0.00;(#,##0.00)", "0.000E+00").</summary>
        /// <exception cref="ArgumentNullException">picture is null.</exception>
        public static WideStr FormatFloat(string picture, double value)
        {
            using (var p = new WideStr(Text(picture, "picture"))) return p.FormatFloat(value);
        }

        /// <summary>value laid out by this string as the picture.</summary>
        public WideStr FormatFloat(double value)
        {
            return new WideStr(NativeMethods.LStrFormatFloatW(H, ref value));
        }

        /// <summary>Entry id of a module's string table (on Windows an
        /// HMODULE, elsewhere a dlopen handle; IntPtr.Zero: the program),
        /// empty when absent.</summary>
        public static WideStr Load(IntPtr module, int id)
        {
            Failure.Enter();
            return new WideStr(NativeMethods.LStrAllocLoadStrW(module, id));
        }

        /// <summary>The handle, for passing to native code; it stays owned by
        /// this object.</summary>
        public WideStrHandle Handle { get { return handle; } }

        // The live handle, with the thread in record mode.
        internal WideStrHandle H
        {
            get
            {
                if (handle.IsClosed) throw new QuarnelDisposedException("WideStr");
                Failure.Enter();
                return handle;
            }
        }

        internal static WideStrHandle Live(WideStr s, string paramName)
        {
            if (s == null) throw new ArgumentNullException(paramName);
            return s.H;
        }

        /// <summary>Releases the handle; later use throws
        /// <see cref="ObjectDisposedException"/>.</summary>
        public void Dispose() { handle.Dispose(); }

        /// <summary>A new string with a copy of this text.</summary>
        public WideStr Clone() { return new WideStr(NativeMethods.LStrAllocCloneWW(H)); }

        object ICloneable.Clone() { return Clone(); }

        /// <summary>The text up to its first zero unit in the ANSI code page
        /// (characters it lacks become its default character).</summary>
        public AnsiStr ToAnsi() { return new AnsiStr(NativeMethods.LStrAllocCloneWA(H)); }

        /// <summary>Does nothing: W payloads are never shared (kept for
        /// symmetry with <see cref="AnsiStr.MakeUnique"/>).</summary>
        public void MakeUnique()
        {
            NativeMethods.LStrUniqueW(H);
            Failure.Check();
        }

        /// <summary>The base (0 or 1) the library applies to positions on
        /// this handle when it is passed to native code; 1 for new strings.
        /// This class's own members count from 0 whatever it is.</summary>
        /// <exception cref="ArgumentOutOfRangeException">Setting other than 0 or 1.</exception>
        public int IndexBase
        {
            get
            {
                int b = NativeMethods.LStrGetCharIndexBaseW(H);
                if (b == 0) Failure.Check();
                return b;
            }
            set
            {
                if (value != 0 && value != 1) throw new ArgumentOutOfRangeException("value", "the base is 0 or 1");
                if (NativeMethods.LStrSetCharIndexBaseW(H, value) == 0) Failure.Check();
                bias = value;
            }
        }

        int At(int index)
        {
            long p = (long)index + bias;
            return p > int.MaxValue ? int.MaxValue : (int)p;
        }

        /// <summary>The number of UTF-16 units, zero units included. Setting
        /// keeps the first units; added units have unspecified values.</summary>
        /// <exception cref="ArgumentOutOfRangeException">Setting a negative length.</exception>
        /// <exception cref="OutOfMemoryException">Setting a length the library cannot hold.</exception>
        public int Length
        {
            get
            {
                int n = NativeMethods.LStrLengthW(H);
                if (n == 0) Failure.Check();
                return n;
            }
            set
            {
                if (value < 0) throw new ArgumentOutOfRangeException("value", "a length is not negative");
                if (NativeMethods.LStrSetLengthW(H, value) == 0) Failure.Check();
            }
        }

        /// <summary>The unit at index.</summary>
        /// <exception cref="ArgumentOutOfRangeException">index is outside the text.</exception>
        public char this[int index]
        {
            get
            {
                // The library does not check W positions: this does.
                InText(index);
                return NativeMethods.LStrGetCharAtW(handle, At(index));
            }
            set
            {
                InText(index);
                NativeMethods.LStrSetCharAtW(handle, At(index), value);
                Failure.Check("index");
            }
        }

        void InText(int index)
        {
            int n = Length;
            if (index < 0 || index >= n)
                throw new QuarnelRangeException("index", "index " + index + " is outside a text of " + n + " units");
        }

        /// <summary>The address of the unit at index, writable within the
        /// length until this string next changes.</summary>
        /// <exception cref="ArgumentOutOfRangeException">index is outside the text.</exception>
        public IntPtr DangerousGetCharAddress(int index)
        {
            InText(index);
            IntPtr p = NativeMethods.LStrCharAddrAtW(handle, At(index));
            if (p == IntPtr.Zero) Failure.Check("index");
            return p;
        }

        /// <summary>The index of the last unit (the low surrogate of a final
        /// pair), -1 when empty.</summary>
        public int LastCharIndex
        {
            get
            {
                IntPtr last = NativeMethods.LStrUnicodeLastCharW(H);
                if (last == IntPtr.Zero) { Failure.Check(); return -1; }
                return (int)(((long)last - (long)NativeMethods.LStrCstrW(handle)) / 2);
            }
        }

        /// <summary>The text's size in bytes (twice its length).</summary>
        public int ByteCount
        {
            get
            {
                int n = NativeMethods.LStrWideCharBufSizeW(H);
                if (n == 0) Failure.Check();
                return n;
            }
        }

        /// <summary>The payload BSTR, to hand to COM code (borrowed: valid
        /// until this string next changes; the empty text gives a constant
        /// that is not a BSTR).</summary>
        public IntPtr DangerousGetBstr()
        {
            IntPtr p = NativeMethods.LStrCbstrW(H);
            if (p == IntPtr.Zero) Failure.Check();
            return p;
        }

        /// <summary>The address of the handle's BSTR field: a BSTR stored
        /// there belongs to the string, which frees it when next assigned or
        /// disposed.</summary>
        public IntPtr DangerousGetBstrRef()
        {
            IntPtr p = NativeMethods.LStrBSTRRef(H);
            if (p == IntPtr.Zero) Failure.Check();
            return p;
        }

        /// <summary>The text, zero units included.</summary>
        public override string ToString() { return Read(H); }

        internal static string Read(WideStrHandle h)
        {
            int n = NativeMethods.LStrLengthW(h);
            if (n == 0) { Failure.Check(); return ""; }
            string text = Marshal.PtrToStringUni(NativeMethods.LStrCstrW(h), n);
            GC.KeepAlive(h);
            return text;
        }

        /// <summary>The units, in order.</summary>
        public IEnumerator<char> GetEnumerator() { return ToString().GetEnumerator(); }

        IEnumerator IEnumerable.GetEnumerator() { return GetEnumerator(); }

        // ---- Assignment and appending ----

        /// <summary>Makes this text a copy of value's.</summary>
        public WideStr Assign(WideStr value)
        {
            WideStrHandle v = Live(value, "value");
            if (NativeMethods.LStrAssignW(H, v) == 0) Failure.Check();
            return this;
        }

        /// <summary>Makes this text value (zero units included).</summary>
        public WideStr Assign(string value)
        {
            Text(value, "value");
            if (NativeMethods.LStrAssignWSzStrW(H, value, value.Length) == 0) Failure.Check();
            return this;
        }

        /// <summary>Appends value's text (this string's own included).</summary>
        public WideStr Append(WideStr value)
        {
            WideStrHandle v = Live(value, "value");
            if (NativeMethods.LStrAppendW(H, v) == 0) Failure.Check();
            return this;
        }

        /// <summary>Appends value (zero units included).</summary>
        public WideStr Append(string value)
        {
            Text(value, "value");
            if (NativeMethods.LStrAppendWSzStrW(H, value, value.Length) == 0) Failure.Check();
            return this;
        }

        /// <summary>Appends one unit ('\0' appends nothing).</summary>
        public WideStr Append(char c)
        {
            if (NativeMethods.LStrAppendCharW(H, c) == IntPtr.Zero) Failure.Check();
            return this;
        }

        /// <summary>Appends value's decimal text.</summary>
        public WideStr Append(int value)
        {
            if (NativeMethods.LStrAppendIntValueW(H, value) == IntPtr.Zero) Failure.Check();
            return this;
        }

        // ---- Comparison ----

        /// <summary>Ordinal comparison of the UTF-16 units, as
        /// string.CompareOrdinal: negative, zero or positive; null sorts
        /// first.</summary>
        public int CompareTo(WideStr other)
        {
            if (other == null) return 1;
            int r = NativeMethods.LStrCompareW(H, other.H);
            if (r != 0) return r;
            Failure.Check();
            // The library compares up to the first zero unit; the rest decides
            // only between texts that hold one.
            return string.CompareOrdinal(ToString(), other.ToString());
        }

        int IComparable.CompareTo(object obj)
        {
            if (obj != null && !(obj is WideStr)) throw new ArgumentException("not an WideStr", "obj");
            return CompareTo((WideStr)obj);
        }

        /// <summary>Case-insensitive comparison under the user's locale, each
        /// text up to its first zero unit, each unit folded to lower case:
        /// negative, zero or positive.</summary>
        /// <exception cref="ArgumentNullException">other is null.</exception>
        public int CompareIgnoreCase(WideStr other)
        {
            WideStrHandle o = Live(other, "other");
            int r = NativeMethods.LStrCompareICW(H, o);
            if (r == 0) Failure.Check();
            return r;
        }

        /// <summary>True when other holds the same units.</summary>
        public bool Equals(WideStr other) { return other != null && CompareTo(other) == 0; }

        /// <summary>True when obj is a WideStr with the same units.</summary>
        public override bool Equals(object obj) { return Equals(obj as WideStr); }

        /// <summary>The hash of the text as a .NET string.</summary>
        public override int GetHashCode() { return ToString().GetHashCode(); }

        /// <summary>Equality of the texts; two nulls are equal.</summary>
        public static bool operator ==(WideStr a, WideStr b)
        {
            return ReferenceEquals(a, null) ? ReferenceEquals(b, null) : a.Equals(b);
        }

        /// <summary>Inequality of the texts.</summary>
        public static bool operator !=(WideStr a, WideStr b) { return !(a == b); }

        // ---- Searching and cutting ----

        /// <summary>The index of the first occurrence of value (exact units),
        /// or -1; an empty value is never found.</summary>
        public int IndexOf(WideStr value)
        {
            WideStrHandle v = Live(value, "value");
            int r = NativeMethods.LStrPosW(H, v);
            if (r == 0) Failure.Check();
            return r - bias;
        }

        /// <summary>The index of the first occurrence of value, or -1; an
        /// empty value is never found.</summary>
        public int IndexOf(string value)
        {
            Text(value, "value");
            if (value.IndexOf('\0') >= 0)
                using (var v = new WideStr(value)) return IndexOf(v);
            int r = NativeMethods.LStrPosPtrW(H, value);
            if (r == 0) Failure.Check();
            return r - bias;
        }

        /// <summary>The same search as <see cref="IndexOf(WideStr)"/>, by
        /// the library's Unicode-named entry.</summary>
        public int UnicodeIndexOf(WideStr value)
        {
            WideStrHandle v = Live(value, "value");
            int r = NativeMethods.LStrUnicodePosW(H, v);
            if (r == 0) Failure.Check();
            return r - bias;
        }

        /// <summary>True when value occurs in the text.</summary>
        public bool Contains(string value) { return IndexOf(value) >= 0; }

        /// <summary>count units from startIndex (the rest for a negative
        /// count); a start before the text counts from its first unit, one
        /// past it gives an empty string.</summary>
        public WideStr Substring(int startIndex, int count)
        {
            return new WideStr(NativeMethods.LStrSubStringW(H, At(startIndex), count));
        }

        /// <summary>The units from startIndex on.</summary>
        public WideStr Substring(int startIndex) { return Substring(startIndex, -1); }

        /// <summary>The first count units (all of them when count is at least
        /// the length, none for count &lt;= 0).</summary>
        public WideStr Left(int count) { return new WideStr(NativeMethods.LStrLeftW(H, count)); }

        /// <summary>The last count units.</summary>
        public WideStr Right(int count) { return new WideStr(NativeMethods.LStrRightW(H, count)); }

        /// <summary>True when the unit at index is one of delimiters (false
        /// outside the text).</summary>
        public bool IsDelimiter(string delimiters, int index)
        {
            using (var d = new WideStr(Text(delimiters, "delimiters")))
            {
                bool r = NativeMethods.LStrIsDelimiterW(H, d.H, At(index));
                if (!r) Failure.Check();
                return r;
            }
        }

        /// <summary>True when the unit at index is a backslash.</summary>
        public bool IsPathDelimiter(int index)
        {
            bool r = NativeMethods.LStrIsPathDelimiterW(H, At(index));
            if (!r) Failure.Check();
            return r;
        }

        /// <summary>The index of the last unit that is one of delimiters, or -1.</summary>
        public int LastIndexOfAny(string delimiters)
        {
            using (var d = new WideStr(Text(delimiters, "delimiters")))
            {
                int r = NativeMethods.LStrLastDelimiterW(H, d.H);
                if (r == 0) Failure.Check();
                return r - bias;
            }
        }

        // ---- Editing in place ----

        /// <summary>Inserts value so that it starts at index (before the text:
        /// at the start; past it: at the end).</summary>
        public WideStr Insert(int index, WideStr value)
        {
            WideStrHandle v = Live(value, "value");
            if (NativeMethods.LStrInsertW(H, v, At(index)) == 0) Failure.Check();
            return this;
        }

        /// <summary>Inserts value at index.</summary>
        public WideStr Insert(int index, string value)
        {
            using (var v = new WideStr(Text(value, "value"))) return Insert(index, v);
        }

        /// <summary>Removes up to count units from index; nothing outside the text.</summary>
        public WideStr Remove(int index, int count)
        {
            if (NativeMethods.LStrDeleteW(H, At(index), count) == 0) Failure.Check();
            return this;
        }

        // ---- Case, trimming, padding, replacement ----

        /// <summary>A lower-case copy under the user's locale (same length).</summary>
        public WideStr ToLower() { return new WideStr(NativeMethods.LStrLowerCaseW(H)); }

        /// <summary>An upper-case copy under the user's locale (same length).</summary>
        public WideStr ToUpper() { return new WideStr(NativeMethods.LStrUpperCaseW(H)); }

        /// <summary>Lower-cases this text.</summary>
        public WideStr LowerInPlace()
        {
            NativeMethods.LStrSelfLowerCaseW(H);
            Failure.Check();
            return this;
        }

        /// <summary>Upper-cases this text.</summary>
        public WideStr UpperInPlace()
        {
            NativeMethods.LStrSelfUpperCaseW(H);
            Failure.Check();
            return this;
        }

        /// <summary>A copy without the units 0 to 32 at either end.</summary>
        public WideStr Trim() { return new WideStr(NativeMethods.LStrTrimW(H)); }

        /// <summary>A copy without the units 0 to 32 at the start.</summary>
        public WideStr TrimStart() { return new WideStr(NativeMethods.LStrTrimLeftW(H)); }

        /// <summary>A copy without the units 0 to 32 at the end.</summary>
        public WideStr TrimEnd() { return new WideStr(NativeMethods.LStrTrimRightW(H)); }

        /// <summary>Removes the units 0 to 32 at either end.</summary>
        public WideStr TrimInPlace()
        {
            NativeMethods.LStrSelfTrimW(H);
            Failure.Check();
            return this;
        }

        /// <summary>Removes the units 0 to 32 at the start.</summary>
        public WideStr TrimStartInPlace()
        {
            NativeMethods.LStrSelfTrimLeftW(H);
            Failure.Check();
            return this;
        }

        /// <summary>Removes the units 0 to 32 at the end.</summary>
        public WideStr TrimEndInPlace()
        {
            NativeMethods.LStrSelfTrimRightW(H);
            Failure.Check();
            return this;
        }

        /// <summary>A copy padded on the left with padding to totalWidth
        /// units (never shortened).</summary>
        public WideStr PadLeft(int totalWidth, char padding = ' ')
        {
            return new WideStr(NativeMethods.LStrPadLeftW(H, padding, totalWidth));
        }

        /// <summary>A copy padded on the right with padding to totalWidth units.</summary>
        public WideStr PadRight(int totalWidth, char padding = ' ')
        {
            return new WideStr(NativeMethods.LStrPadRightW(H, padding, totalWidth));
        }

        /// <summary>A copy with every occurrence of oldValue replaced by
        /// newValue (null or empty: deleted), repeated while replacements
        /// form new occurrences unless that would not end.</summary>
        /// <exception cref="ArgumentException">A value holds a zero character.</exception>
        public WideStr Replace(string oldValue, string newValue)
        {
            string search = NoZero(oldValue, "oldValue");
            string replacement = newValue == null ? null : NoZero(newValue, "newValue");
            return new WideStr(NativeMethods.LStrReplaceW(H, search, replacement));
        }

        // ---- Splitting ----

        /// <summary>The fields between separators (a leading or doubled
        /// separator gives an empty field, a final one none), trimmed of
        /// units 0 to 32 when trim is set, each cut at its first zero unit.</summary>
        public string[] Split(char separator, bool trim = false)
        {
            return WideStrList.Scratch.SplitBySeparator(this, separator, trim).ToArray();
        }

        /// <summary>At most count fields, split as <see cref="Split(char, bool)"/>; the rest of
        /// the line is dropped.</summary>
        public string[] Split(char separator, int count, bool trim)
        {
            char sep = separator;
            if (count <= 0) return new string[0];
            var slots = new CLWideStr[count];
            var owners = new WideStrHandle[count];
            WideStrHandle h = H;
            bool added = false;
            try
            {
                for (int i = 0; i < count; i++)
                {
                    owners[i] = Failure.Handle(NativeMethods.LStrAllocW());
                    slots[i].Handle = owners[i].DangerousGetHandle();
                }
                h.DangerousAddRef(ref added);
                var source = new CLWideStr { Handle = h.DangerousGetHandle() };
                int n = NativeMethods.SplitBySepW(ref source, sep, count, slots, trim);
                if (n == 0) Failure.Check();
                var fields = new string[n];
                for (int i = 0; i < n; i++) fields[i] = Read(owners[i]);
                return fields;
            }
            finally
            {
                if (added) h.DangerousRelease();
                foreach (WideStrHandle o in owners)
                    if (o != null) o.Dispose();
            }
        }

        /// <summary>Fields of the given widths laid end to end (a negative
        /// width takes the rest of the line).</summary>
        public string[] SplitFixed(int[] widths, bool trim = false)
        {
            return WideStrList.Scratch.SplitFixed(this, widths, trim).ToArray();
        }

        /// <summary>Fields by column ranges: pairs (first, last), columns
        /// counted from 1, the last included.</summary>
        public string[] SplitColumns(int[] columns, bool trim = false)
        {
            return WideStrList.Scratch.SplitColumns(this, columns, trim).ToArray();
        }

        /// <summary>Splits "name=value" text at the first separator; false
        /// (name and value null) when there is none.</summary>
        public static bool TrySplitNameValue(string text, char separator, bool trim, out string name, out string value)
        {
            using (var fields = new WideStrList())
            {
                bool found = fields.SplitNameValue(text, separator, trim);
                name = found ? fields[0] : null;
                value = found ? fields[1] : null;
                return found;
            }
        }

        // ---- Numbers ----

        /// <summary>The text as an integer: optional spaces and sign, then
        /// decimal digits in the 32-bit range or hexadecimal ones after "$",
        /// "x" or "0x".</summary>
        /// <exception cref="FormatException">The text is not such a number.</exception>
        public int ToInt()
        {
            int r = NativeMethods.LStrToIntW(H);
            if (r == 0) Failure.Check();
            return r;
        }

        /// <summary>The whole text as a decimal (or "0x" hexadecimal) integer,
        /// or defaultValue, also for a number beyond 32 bits (decimal) or
        /// 8 hexadecimal digits.</summary>
        public int ToInt(int defaultValue)
        {
            int r = NativeMethods.LStrToIntDefW(H, defaultValue);
            if (r == 0) Failure.Check();
            // The library wraps longer numbers; only a text of ten or more
            // characters can hold one.
            if (r != defaultValue && NativeMethods.LStrLengthW(handle) > 9 && !Numbers.FitsInt(ToString()))
                return defaultValue;
            return r;
        }

        /// <summary>The whole text as a number with "." as the decimal point,
        /// or defaultValue.</summary>
        public double ToDouble(double defaultValue)
        {
            double r = NativeMethods.LStrToDoubleDefW(H, defaultValue);
            if (r == 0) Failure.Check();
            return r;
        }

        // ---- Argument helpers ----

        internal static string Text(string text, string paramName)
        {
            if (text == null) throw new ArgumentNullException(paramName);
            return text;
        }

        static byte[] Bytes(byte[] bytes, string paramName)
        {
            if (bytes == null) throw new ArgumentNullException(paramName);
            return bytes;
        }

        // A zero-terminated argument: a zero character would cut it short,
        // so it is refused.
        internal static string NoZero(string text, string paramName)
        {
            Text(text, paramName);
            if (text.IndexOf('\0') >= 0)
                throw new ArgumentException("a zero character would end the text there", paramName);
            return text;
        }
    }

    // ---- Field lists -----------------------------------------------------------

    /// <summary>The fields of the last split, as strings in the order of the
    /// line. The list keeps its storage from one split to the next; dispose
    /// it (or let it be finalized) to release it.</summary>
    public sealed class WideStrList : IDisposable, IReadOnlyList<string>
    {
        readonly WideStrListHandle list;

        /// <summary>An empty list that grows 8 fields at a time.</summary>
        public WideStrList() : this(8) { }

        /// <summary>An empty list that grows growBy fields at a time.</summary>
        /// <exception cref="ArgumentOutOfRangeException">growBy is less than 1.</exception>
        public WideStrList(int growBy)
        {
            if (growBy < 1) throw new ArgumentOutOfRangeException("growBy", "a list grows by at least 1");
            list = new WideStrListHandle(growBy);
        }

        WideStrListHandle L
        {
            get
            {
                if (list.IsClosed) throw new QuarnelDisposedException("WideStrList");
                Failure.Enter();
                return list;
            }
        }

        /// <summary>The number of fields.</summary>
        public int Count { get { return L.Count; } }

        // Field index's handle, borrowed from the list.
        WideStrHandle Field(int index)
        {
            WideStrListHandle l = L;
            if ((uint)index >= (uint)l.Count)
                throw new QuarnelRangeException("index", "no field " + index + " in a list of " + l.Count);
            return new WideStrHandle(l.Field(index), false);
        }

        /// <summary>Field index.</summary>
        /// <exception cref="ArgumentOutOfRangeException">index is not below <see cref="Count"/>.</exception>
        public string this[int index] { get { return WideStr.Read(Field(index)); } }

        /// <summary>A new string with a copy of field index.</summary>
        public WideStr GetStr(int index) { return new WideStr(NativeMethods.LStrAllocCloneWW(Field(index))); }

        /// <summary>The fields as an array.</summary>
        public string[] ToArray()
        {
            WideStrListHandle l = L;
            var fields = new string[l.Count];
            using (var field = new WideStrHandle(IntPtr.Zero, false))
                for (int i = 0; i < fields.Length; i++)
                {
                    field.Borrow(l.Field(i));
                    fields[i] = WideStr.Read(field);
                }
            return fields;
        }

        // A list per thread for the splits that return arrays.
        [ThreadStatic] static WideStrList scratch;

        internal static WideStrList Scratch
        {
            get { return scratch ?? (scratch = new WideStrList(16)); }
        }

        /// <summary>The fields in order.</summary>
        public IEnumerator<string> GetEnumerator()
        {
            for (int i = 0, n = Count; i < n; i++) yield return this[i];
        }

        IEnumerator IEnumerable.GetEnumerator() { return GetEnumerator(); }

        // Runs split with the source wrapper, holding the source's handle.
        WideStrList Fill(WideStr source, Func<CLWideStr, int> split)
        {
            WideStrHandle h = WideStr.Live(source, "source");
            WideStrListHandle l = L;
            bool added = false;
            try
            {
                h.DangerousAddRef(ref added);
                if (split(new CLWideStr { Handle = h.DangerousGetHandle() }) == 0) Failure.Check();
                return this;
            }
            finally
            {
                if (added) h.DangerousRelease();
                GC.KeepAlive(l);
            }
        }

        /// <summary>Fills the list with the fields of source between
        /// separators (see <see cref="WideStr.Split(char, bool)"/>).</summary>
        public WideStrList SplitBySeparator(WideStr source, char separator, bool trim = false)
        {
            return Fill(source, s => NativeMethods.SplitBySepExW(ref s, separator, list, trim));
        }

        /// <summary>Fills the list with fields of the given widths.</summary>
        public WideStrList SplitFixed(WideStr source, int[] widths, bool trim = false)
        {
            if (widths == null) throw new ArgumentNullException("widths");
            return Fill(source, s => NativeMethods.SplitByFixedLayoutW(ref s, widths.Length, widths, list, trim));
        }

        /// <summary>Fills the list with fields by (first, last) column pairs,
        /// columns counted from 1.</summary>
        /// <exception cref="ArgumentException">columns has an odd length.</exception>
        public WideStrList SplitColumns(WideStr source, int[] columns, bool trim = false)
        {
            if (columns == null) throw new ArgumentNullException("columns");
            if (columns.Length % 2 != 0) throw new ArgumentException("columns come in (first, last) pairs", "columns");
            return Fill(source, s => NativeMethods.SplitByFixedLayoutExW(ref s, columns.Length / 2, columns, list, trim));
        }

        /// <summary>Fills the list with the name and the value of
        /// "name=value" text split at the first separator; false and an empty
        /// list when there is none.</summary>
        /// <exception cref="ArgumentException">text holds a zero character.</exception>
        public bool SplitNameValue(string text, char separator, bool trim = false)
        {
            string t = WideStr.NoZero(text, "text");
            bool found = NativeMethods.SplitNamedEquW(t, L, trim, separator);
            if (!found) Failure.Check();
            return found;
        }

        /// <summary>Empties the list and releases its storage.</summary>
        public void Clear() { NativeMethods.LStrListEndW(L.DangerousGetHandle()); GC.KeepAlive(list); }

        /// <summary>Releases the list.</summary>
        public void Dispose() { list.Dispose(); }
    }

    // ---- Field lists -----------------------------------------------------------

    /// <summary>The fields of the last split, as strings in the order of the
    /// line. The list keeps its storage from one split to the next; dispose
    /// it (or let it be finalized) to release it.</summary>
    public sealed class AnsiStrList : IDisposable, IReadOnlyList<string>
    {
        readonly AnsiStrListHandle list;

        /// <summary>An empty list that grows 8 fields at a time.</summary>
        public AnsiStrList() : this(8) { }

        /// <summary>An empty list that grows growBy fields at a time.</summary>
        /// <exception cref="ArgumentOutOfRangeException">growBy is less than 1.</exception>
        public AnsiStrList(int growBy)
        {
            if (growBy < 1) throw new ArgumentOutOfRangeException("growBy", "a list grows by at least 1");
            list = new AnsiStrListHandle(growBy);
        }

        AnsiStrListHandle L
        {
            get
            {
                if (list.IsClosed) throw new QuarnelDisposedException("AnsiStrList");
                Failure.Enter();
                return list;
            }
        }

        /// <summary>The number of fields.</summary>
        public int Count { get { return L.Count; } }

        // Field index's handle, borrowed from the list.
        AnsiStrHandle Field(int index)
        {
            AnsiStrListHandle l = L;
            if ((uint)index >= (uint)l.Count)
                throw new QuarnelRangeException("index", "no field " + index + " in a list of " + l.Count);
            return new AnsiStrHandle(l.Field(index), false);
        }

        /// <summary>Field index decoded from the code page.</summary>
        /// <exception cref="ArgumentOutOfRangeException">index is not below <see cref="Count"/>.</exception>
        public string this[int index] { get { return AnsiStr.ReadField(Field(index)); } }

        /// <summary>A new string with field index (sharing its payload).</summary>
        public AnsiStr GetStr(int index) { return new AnsiStr(NativeMethods.LStrAllocCloneAA(Field(index))); }

        /// <summary>The fields as an array.</summary>
        public string[] ToArray()
        {
            AnsiStrListHandle l = L;
            var fields = new string[l.Count];
            using (var field = new AnsiStrHandle(IntPtr.Zero, false))
                for (int i = 0; i < fields.Length; i++)
                {
                    field.Borrow(l.Field(i));
                    fields[i] = AnsiStr.ReadField(field);
                }
            return fields;
        }

        // A list per thread for the splits that return arrays.
        [ThreadStatic] static AnsiStrList scratch;

        internal static AnsiStrList Scratch
        {
            get { return scratch ?? (scratch = new AnsiStrList(16)); }
        }

        /// <summary>The fields in order.</summary>
        public IEnumerator<string> GetEnumerator()
        {
            for (int i = 0, n = Count; i < n; i++) yield return this[i];
        }

        IEnumerator IEnumerable.GetEnumerator() { return GetEnumerator(); }

        // Runs split with the source wrapper, holding the source's handle.
        AnsiStrList Fill(AnsiStr source, Func<CLAnsiStr, int> split)
        {
            AnsiStrHandle h = AnsiStr.Live(source, "source");
            AnsiStrListHandle l = L;
            bool added = false;
            try
            {
                h.DangerousAddRef(ref added);
                if (split(new CLAnsiStr { Handle = h.DangerousGetHandle() }) == 0) Failure.Check();
                return this;
            }
            finally
            {
                if (added) h.DangerousRelease();
                GC.KeepAlive(l);
            }
        }

        /// <summary>Fills the list with the fields of source between
        /// separators (see <see cref="AnsiStr.Split(char, bool)"/>).</summary>
        /// <exception cref="ArgumentException">separator is not one byte in the code page.</exception>
        public AnsiStrList SplitBySeparator(AnsiStr source, char separator, bool trim = false)
        {
            byte sep = AnsiStr.CodePageByte(separator, "separator");
            return Fill(source, s => NativeMethods.SplitBySepExA(ref s, sep, list, trim));
        }

        /// <summary>Fills the list with fields of the given widths.</summary>
        public AnsiStrList SplitFixed(AnsiStr source, int[] widths, bool trim = false)
        {
            if (widths == null) throw new ArgumentNullException("widths");
            return Fill(source, s => NativeMethods.SplitByFixedLayoutA(ref s, widths.Length, widths, list, trim));
        }

        /// <summary>Fills the list with fields by (first, last) column pairs,
        /// columns counted from 1.</summary>
        /// <exception cref="ArgumentException">columns has an odd length.</exception>
        public AnsiStrList SplitColumns(AnsiStr source, int[] columns, bool trim = false)
        {
            if (columns == null) throw new ArgumentNullException("columns");
            if (columns.Length % 2 != 0) throw new ArgumentException("columns come in (first, last) pairs", "columns");
            return Fill(source, s => NativeMethods.SplitByFixedLayoutExA(ref s, columns.Length / 2, columns, list, trim));
        }

        /// <summary>Fills the list with the name and the value of
        /// "name=value" text split at the first separator; false and an empty
        /// list when there is none.</summary>
        /// <exception cref="ArgumentException">text holds a zero character or
        /// separator is not one byte in the code page.</exception>
        public bool SplitNameValue(string text, char separator, bool trim = false)
        {
            byte[] t = AnsiStr.CodePageText(text, "text");
            byte sep = AnsiStr.CodePageByte(separator, "separator");
            bool found = NativeMethods.SplitNamedEquA(t, L, trim, sep);
            if (!found) Failure.Check();
            return found;
        }

        /// <summary>Empties the list and releases its storage.</summary>
        public void Clear() { NativeMethods.LStrListEndA(L.DangerousGetHandle()); GC.KeepAlive(list); }

        /// <summary>Releases the list.</summary>
        public void Dispose() { list.Dispose(); }
    }
}
