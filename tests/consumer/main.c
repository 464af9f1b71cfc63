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
  {
    /* The list as a C host declares it, grown by the library, released by it. */
    CLAnsiStr line = {LStrAllocFromASzStrA("a,b,c", -1), true};
    CLAnsiStrList fields = {2, 0, 0, NULL};
    ok = ok && SplitBySepExA(&line, ',', &fields, false) == 3 && fields.capacity == 4 &&
         strcmp(LStrCstrA(fields.items[2]->handle), "c") == 0;
    LStrListEndA(&fields);
    ok = ok && fields.capacity == 0 && fields.count == 0 && fields.items == NULL;
    LStrDestroyA(line.handle);
  }
  LStrDestroyA(h);
#ifdef CONSUMER_HAS_STRINGS
  h = LStrAllocLoadStrA(NULL, 1); /* the program's own string table */
  ok = ok && strcmp(LStrCstrA(h), "hello from a string table") == 0;
  printf("%s\n", LStrCstrA(h));
  LStrDestroyA(h);
#endif
  return ok ? 0 : 1;
}
