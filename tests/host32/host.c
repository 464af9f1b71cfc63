/* A 32-bit Windows host of Quarnel.dll, written in C the way a host program
 * is: the exports are imported (dllimport, stdcall) through the import
 * library. It checks what only a real 32-bit caller can show: that every
 * export leaves the stack where its convention says, that failures arrive as
 * structured exceptions a host can handle and carry on after, and that the
 * memory the library hands out belongs to the platform (BSTRs, the process
 * heap) so the host can free it with the platform's own functions.
 * Prints one line per failed check and "N passed, N failed". */
#define QUARNEL_USE_DLLIMPORT
#include <quarnel/quarnel.h>
#include <stddef.h>
#include <stdio.h>
#include <string.h>
#include <windows.h>

#include "calls.h"

static int passed, failed;

static void check(int ok, const char* what, const char* detail) {
  if (ok) {
    ++passed;
  } else {
    ++failed;
    printf("FAILED %s%s%s\n", what, detail ? ": " : "", detail ? detail : "");
  }
}

/* ---- Stack balance --------------------------------------------------------
 * balanced_call pushes the argument words right to left and calls fn, as a
 * compiler would, with marks in the callee-saved registers EBX and EDI. It
 * reports how many bytes the call left on the stack, what EBX and EDI hold
 * afterwards and the result registers, popping a floating-point result off
 * the x87 stack. */
typedef struct Outcome {
  uint32_t eax, edx; /* offsets 0 and 4 */
  double st0;        /* 8 */
  int32_t left;      /* 16: bytes of arguments still on the stack */
  uint32_t ebx, edi; /* 20 and 24 */
} Outcome;
_Static_assert(offsetof(Outcome, st0) == 8 && offsetof(Outcome, left) == 16 &&
                   offsetof(Outcome, edi) == 24,
               "balanced_call writes these offsets");
enum { MARK_EBX = 0x5eed0001, MARK_EDI = 0x5eed0002 };

typedef void (*Entry)(void); /* any export, whatever its parameters */
void balanced_call(Entry fn, int words, const uint32_t* args, int float_result, Outcome* out);
__asm__(
    ".text\n"
    ".globl _balanced_call\n"
    "_balanced_call:\n"
    "  pushl %ebp\n"
    "  movl %esp, %ebp\n"
    "  pushl %ebx\n"
    "  pushl %esi\n"
    "  pushl %edi\n"
    "  movl 12(%ebp), %ecx\n" /* words */
    "  movl 16(%ebp), %edx\n" /* args */
    "  movl %esp, %esi\n"     /* the stack pointer before the arguments */
    "  jecxz 2f\n"
    "1:\n"
    "  pushl -4(%edx,%ecx,4)\n"
    "  loop 1b\n"
    "2:\n"
    "  movl $0x5eed0001, %ebx\n"
    "  movl $0x5eed0002, %edi\n"
    "  call *8(%ebp)\n"
    "  movl 24(%ebp), %ecx\n" /* out */
    "  movl %eax, 0(%ecx)\n"
    "  movl %edx, 4(%ecx)\n"
    "  cmpl $0, 20(%ebp)\n"
    "  je 3f\n"
    "  fstpl 8(%ecx)\n"
    "3:\n"
    "  movl %ebx, 20(%ecx)\n"
    "  movl %edi, 24(%ecx)\n"
    "  movl %esi, %eax\n"
    "  subl %esp, %eax\n"
    "  movl %eax, 16(%ecx)\n"
    "  movl %esi, %esp\n"
    "  popl %edi\n"
    "  popl %esi\n"
    "  popl %ebx\n"
    "  popl %ebp\n"
    "  ret\n");

typedef struct Export {
  const char* name;
  Entry address;
  const char* parameters; /* one letter per parameter, see add_argument */
  char result;            /* 'a' / 'w': a new handle; 'f': a double; 'o': other */
  int caller_cleans;
} Export;

/* Everything one call's arguments point at: valid handles holding "12",
 * wrappers (a source, then slots) and lists, buffers. Released after the
 * call, as a host would. */
typedef struct Fixture {
  uint32_t words[16];
  int count;
  LStrHandleA a[4];
  LStrHandleW w[4];
  int na, nw;
  CLAnsiStr wrapper_a[5];
  CLWideStr wrapper_w[5];
  CLAnsiStr* slots_a; /* the wrappers after the first */
  CLWideStr* slots_w;
  CLAnsiStrList list_a;
  CLWideStrList list_w;
  LWideChar buffer[64];
} Fixture;

/* What the read-only pointer parameters get: a layout of fields one
 * character wide, numbers, an empty va_list. */
static const int layout[8] = {1, 1, 1, 1, 1, 1, 1, 1};
static const double numbers[4] = {1.5, 1.5, 1.5, 1.5};
static const uint32_t no_arguments[8];

static void push(Fixture* f, uint32_t word) { f->words[f->count++] = word; }

/* The letters calls.py writes: 'a' / 'w' a fresh handle the call may end;
 * "icdqe" a value of one or two words (int or bool, a character, a double,
 * a 64-bit integer, unused variadic arguments); the rest a pointer, into
 * the fixture where the call may write ('m', a module, is the executable). */
static void add_argument(Fixture* f, char letter) {
  static const char values[] = "icdqe", pointers[] = "stWnDxXyYLMml";
  const void* targets[] = {"12",         L"12",      f->buffer,    layout,     numbers,
                           f->wrapper_a, f->slots_a, f->wrapper_w, f->slots_w, &f->list_a,
                           &f->list_w,   NULL,       no_arguments};
  uint32_t words[][2] = {{1, 0}, {'1', 0}, {0, 0}, {12, 0}, {7, 8}}; /* low word first */
  const char* value = letter ? strchr(values, letter) : NULL;
  const char* pointer = letter ? strchr(pointers, letter) : NULL;
  double number = 1.5;
  memcpy(words[2], &number, sizeof number);
  if (letter == 'a') {
    push(f, (uint32_t)(uintptr_t)(f->a[f->na++] = LStrAllocFromASzStrA("12", -1)));
  } else if (letter == 'w') {
    push(f, (uint32_t)(uintptr_t)(f->w[f->nw++] = LStrAllocFromWSzStrW(L"12", -1)));
  } else if (pointer) {
    push(f, (uint32_t)(uintptr_t)targets[pointer - pointers]);
  } else if (value) {
    push(f, words[value - values][0]);
    if (value - values >= 2) push(f, words[value - values][1]);
  } else {
    printf("host: no argument for letter '%c'\n", letter);
    ExitProcess(2);
  }
}

/* The list rules for C hosts: end every wrapper, free each from the process
 * heap, then the array. HeapValidate proves each block is the heap's own.
 * The W list and wrapper have the A ones' layout, so one function serves. */
static int release_list(CLAnsiStrList* list, int wide) {
  HANDLE heap = GetProcessHeap();
  int ok = 1, i;
  for (i = 0; i < list->capacity; ++i) {
    CLAnsiStr* item = list->items[i];
    if (!item) continue;
    if (item->owned && wide) LStrDestroyW((LStrHandleW)(void*)item->handle);
    if (item->owned && !wide) LStrDestroyA(item->handle);
    ok = ok && HeapValidate(heap, 0, item) && HeapFree(heap, 0, item);
  }
  if (list->items) ok = ok && HeapValidate(heap, 0, list->items) && HeapFree(heap, 0, list->items);
  return ok;
}

static void check_every_export(void) {
  const Export exports[] = {HOST_EXPORTS};
  int n = (int)(sizeof exports / sizeof exports[0]), e, i, consumed, left;
  for (e = 0; e < n; ++e) {
    Fixture f;
    Outcome out;
    char detail[96];
    memset(&f, 0, sizeof f);
    for (i = 0; i < 5; ++i) {
      f.wrapper_a[i] = (CLAnsiStr){LStrAllocFromASzStrA("12", -1), true};
      f.wrapper_w[i] = (CLWideStr){LStrAllocFromWSzStrW(L"12", -1), true};
    }
    f.slots_a = f.wrapper_a + 1;
    f.slots_w = f.wrapper_w + 1;
    f.list_a.growBy = f.list_w.growBy = 2;
    for (i = 0; exports[e].parameters[i]; ++i) add_argument(&f, exports[e].parameters[i]);
    balanced_call(exports[e].address, f.count, f.words, exports[e].result == 'f', &out);
    /* Under cdecl the caller removes its own arguments. */
    left = out.left - (exports[e].caller_cleans ? 4 * f.count : 0);
    snprintf(detail, sizeof detail, "%s: stack off by %d bytes, EBX %08lX, EDI %08lX",
             exports[e].name, left, (unsigned long)out.ebx, (unsigned long)out.edi);
    check(left == 0 && out.ebx == MARK_EBX && out.edi == MARK_EDI, "stack balance", detail);
    if (exports[e].result == 'a') LStrDestroyA((LStrHandleA)(uintptr_t)out.eax);
    if (exports[e].result == 'w') LStrDestroyW((LStrHandleW)(uintptr_t)out.eax);
    consumed = strncmp(exports[e].name, "LStrDestroy", 11) == 0;
    for (i = 0; i < f.na && !consumed; ++i) LStrDestroyA(f.a[i]);
    for (i = 0; i < f.nw && !consumed; ++i) LStrDestroyW(f.w[i]);
    for (i = 0; i < 5; ++i) {
      if (f.wrapper_a[i].owned) LStrDestroyA(f.wrapper_a[i].handle);
      if (f.wrapper_w[i].owned) LStrDestroyW(f.wrapper_w[i].handle);
    }
    check(release_list(&f.list_a, 0) && release_list((CLAnsiStrList*)(void*)&f.list_w, 1),
          "list storage", exports[e].name);
  }
  printf("host: %d exports called\n", n);
  {
    /* The measure itself: one word too many for LStrLengthA stays behind. */
    LStrHandleA h = LStrAllocFromASzStrA("12", -1);
    uint32_t words[2] = {(uint32_t)(uintptr_t)h, 0};
    Outcome out;
    balanced_call((Entry)LStrLengthA, 2, words, 0, &out);
    check(out.left == 4 && out.eax == 2, "stack balance", "a wrong arity shows");
    LStrDestroyA(h);
  }
}

/* ---- Failures ---------------------------------------------------------------
 * A host without a compiler's __try registers an exception frame of its own
 * on the thread's chain (fs:[0]) and runs the call on a worker thread; the
 * frame's handler records the failure and ends that thread. */
typedef struct Attempt {
  void (*body)(struct Attempt*);
  LStrHandleA a;
  DWORD code;
  char message[256];
} Attempt;

static Attempt* volatile running;

static EXCEPTION_DISPOSITION __cdecl on_failure(EXCEPTION_RECORD* record, void* frame,
                                                CONTEXT* context, void* dispatcher) {
  Attempt* at = running;
  size_t length;
  (void)frame, (void)context, (void)dispatcher;
  if (record->ExceptionFlags & (EXCEPTION_UNWINDING | EXCEPTION_EXIT_UNWIND))
    return ExceptionContinueSearch;
  at->code = record->ExceptionCode;
  if (record->NumberParameters >= 2) {
    length = (size_t)record->ExceptionInformation[1];
    if (length >= sizeof at->message) length = sizeof at->message - 1;
    memcpy(at->message, (const void*)record->ExceptionInformation[0], length);
    at->message[length] = '\0';
  }
  ExitThread(1);
}

/* The chain's head is the first word of the TIB, at fs:[0]. */
static DWORD WINAPI attempt_thread(void* argument) {
  Attempt* at = argument;
  EXCEPTION_REGISTRATION_RECORD frame;
  frame.Handler = (PEXCEPTION_ROUTINE)on_failure;
  __asm__ volatile("movl %%fs:0, %0" : "=r"(frame.Next));
  __asm__ volatile("movl %0, %%fs:0" : : "r"(&frame) : "memory");
  at->body(at);
  __asm__ volatile("movl %0, %%fs:0" : : "r"(frame.Next) : "memory");
  return 0;
}

/* Runs the attempt; returns the structured exception's code, 0 if none. */
static DWORD attempt(Attempt* at) {
  HANDLE thread;
  DWORD exit_code = 0;
  at->code = 0;
  at->message[0] = '\0';
  running = at;
  thread = CreateThread(NULL, 0, attempt_thread, at, 0, NULL);
  WaitForSingleObject(thread, INFINITE);
  GetExitCodeThread(thread, &exit_code);
  CloseHandle(thread);
  return exit_code == 1 ? at->code : 0;
}

static void read_past_end(Attempt* at) { LStrGetCharAtA(at->a, 99); }
static void read_number(Attempt* at) { LStrToIntA(at->a); }
static void grow_beyond_memory(Attempt* at) { LStrSetLengthA(at->a, 0x7FFFFFFF); }

static void check_failures(void) {
  static const struct {
    void (*body)(Attempt*);
    const char* text;
    DWORD code;
    const char* message;
  } cases[] = {
      {read_past_end, "abc", QUARNEL_EXCEPTION_RANGE, "Range check error"},
      {read_number, "12x", QUARNEL_EXCEPTION_CONVERT, "'12x' is not a valid integer value"},
      {grow_beyond_memory, "abc", QUARNEL_EXCEPTION_OUT_OF_MEMORY, "Out of memory"},
  };
  size_t i;
  for (i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
    Attempt at;
    char detail[400];
    DWORD code;
    at.body = cases[i].body;
    at.a = LStrAllocFromASzStrA(cases[i].text, -1);
    code = attempt(&at);
    snprintf(detail, sizeof detail, "expected %08lX, got %08lX, message \"%s\"",
             (unsigned long)cases[i].code, (unsigned long)code, at.message);
    check(code == cases[i].code && strcmp(at.message, cases[i].message) == 0,
          "structured exception", detail);
    /* The host goes on: the handle kept its text and takes further calls. */
    check(strcmp(LStrCstrA(at.a), cases[i].text) == 0 &&
              LStrAppendASzStrA(at.a, "!", -1) == (int)strlen(cases[i].text) + 1,
          "handle after a failure", cases[i].message);
    LStrDestroyA(at.a);
  }
}

/* ---- W payloads are BSTRs ------------------------------------------------- */
static void check_bstr(void) {
  LStrHandleW h = LStrAllocFromWSzStrW(L"caf\u00e9 au lait", -1);
  LBSTR* field = LStrBSTRRef(h);
  BSTR taken = *field;
  check(SysStringLen(taken) == 12 && SysStringByteLen(taken) == 24 && taken[12] == 0, "W payload",
        "is a BSTR of the text's length");
  *field = NULL; /* the host takes the payload and frees it itself */
  SysFreeString(taken);
  check(LStrLengthW(h) == 0, "W payload", "taken away leaves the handle empty");
  *field = SysAllocString(L"given"); /* and hands one over, which the library frees */
  check(LStrLengthW(h) == 5 && wcscmp(LStrCstrW(h), L"given") == 0, "W payload",
        "a BSTR from the host");
  LStrDestroyW(h);
}

int main(void) {
  check_every_export();
  check_failures();
  check_bstr();
  printf("%d passed, %d failed\n", passed, failed);
  return failed == 0 ? 0 : 1;
}
