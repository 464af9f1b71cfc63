/* A host written in C99 against the installed library. */
#include <quarnel/quarnel.h>
#include <stdio.h>
#include <string.h>

int main(void) {
  LStrHandleA h = LStrAllocFromASzStrA("port", -1);
  LStrHandleW w;
  int ok;
  LStrAppendASzStrA(h, " = 8080", -1);
  w = LStrAllocCloneAW(h);
  ok = strcmp(LStrCstrA(h), "port = 8080") == 0 && LStrLengthW(w) == 11;
  printf("%s (%d units)\n", LStrCstrA(h), LStrLengthW(w));
  LStrDestroyW(w);
  LStrDestroyA(h);
#ifdef CONSUMER_HAS_STRINGS
  h = LStrAllocLoadStrA(NULL, 1); /* the program's own string table */
  ok = ok && strcmp(LStrCstrA(h), "hello from a string table") == 0;
  printf("%s\n", LStrCstrA(h));
  LStrDestroyA(h);
#endif
  return ok ? 0 : 1;
}
