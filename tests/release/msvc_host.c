/* A Windows host built the Microsoft toolchain's way: compiled for the MSVC
 * ABI, linked by lld-link against the shipped import library Quarnel.lib,
 * with no C runtime at all (its own entry point, kernel32 for output). It
 * calls stdcall exports of each family and the cdecl variadic ones, checks
 * their results, and checks after each call that the stack pointer is back
 * where it was: a wrong calling convention in the import library or the
 * header would leave it displaced by the argument bytes. */
#include <quarnel/quarnel.h>

typedef void* HANDLE;
__declspec(dllimport) HANDLE __stdcall GetStdHandle(unsigned long which);
__declspec(dllimport) int __stdcall WriteFile(HANDLE file, const void* data, unsigned long size,
                                              unsigned long* written, void* overlapped);
__declspec(dllimport) void __stdcall ExitProcess(unsigned int code);
__declspec(dllimport) int __stdcall lstrlenA(const char* s);
__declspec(dllimport) int __stdcall lstrcmpA(const char* a, const char* b);

/* Floating point in an MSVC-ABI object asks for this symbol from the CRT. */
int _fltused = 0;

static int failures, passes;

static void say(const char* s) {
  unsigned long written = 0;
  WriteFile(GetStdHandle((unsigned long)-11), s, (unsigned long)lstrlenA(s), &written, 0);
}

static void check(int ok, const char* what) {
  say(ok ? "ok   " : "FAIL ");
  say(what);
  say("\n");
  if (ok)
    ++passes;
  else
    ++failures;
}

/* Decimal text of a small count, for the closing line. */
static const char* count_text(int n, char* buf) {
  char digits[12];
  int k = 0, i = 0;
  do digits[k++] = (char)('0' + n % 10);
  while ((n /= 10) > 0);
  while (k) buf[i++] = digits[--k];
  buf[i] = 0;
  return buf;
}

static void* stack_pointer(void) {
  void* sp;
#if defined(__i386__)
  __asm__ volatile("movl %%esp, %0" : "=r"(sp));
#else
  __asm__ volatile("movq %%rsp, %0" : "=r"(sp));
#endif
  return sp;
}

/* Runs CALL between two readings of the stack pointer. */
#define BALANCED(call, what)                                              \
  do {                                                                    \
    void* before_ = stack_pointer();                                      \
    call;                                                                 \
    check(stack_pointer() == before_, what " leaves the stack balanced"); \
  } while (0)

static int run(void) {
  static const LWideChar wide[] = {'s', 't', 'r', 'a', 0x00DF, 'e', 0};
  LStrHandleA a = 0, b = LStrAllocA(), pattern = LStrAllocFromASzStrA("beta", 4);
  LStrHandleW w = 0, upper = 0;
  int n = 0, pos = 0, value = 0;

  BALANCED(a = LStrAllocFromASzStrA("alpha,beta", -1), "LStrAllocFromASzStrA");
  BALANCED(pos = LStrPosA(a, pattern), "LStrPosA");
  check(pos == 7, "LStrPosA finds the pattern at 7 (base 1)");

  BALANCED(w = LStrAllocFromWSzStrW(wide, -1), "LStrAllocFromWSzStrW");
  BALANCED(upper = LStrUpperCaseW(w), "LStrUpperCaseW");
  check(LStrLengthW(upper) == 6 && LStrCstrW(upper)[0] == 'S', "LStrUpperCaseW maps letters");

  BALANCED(n = _LStrSprintfA(b, "%s=%d;%.2f;%lld", "x", -42, 2.5, (long long)1 << 40),
           "_LStrSprintfA (cdecl, variadic)");
  check(n == 24 && lstrcmpA(LStrCstrA(b), "x=-42;2.50;1099511627776") == 0,
        "_LStrSprintfA writes the text");

  BALANCED(value = LStrToIntDefA(pattern, 99), "LStrToIntDefA");
  check(value == 99 && LStrLengthA(a) == 10, "LStrToIntDefA gives the default for text");

  BALANCED(LStrDestroyA(a), "LStrDestroyA");
  BALANCED(LStrDestroyW(upper), "LStrDestroyW");
  LStrDestroyA(b);
  LStrDestroyA(pattern);
  LStrDestroyW(w);
  return failures;
}

void __stdcall start(void) {
  char buf[12];
  int bad = run();
  say("msvc-link: ");
  say(count_text(passes, buf));
  say(" passed, ");
  say(count_text(bad, buf));
  say(" failed\n");
  ExitProcess(bad ? 1u : 0u);
}
