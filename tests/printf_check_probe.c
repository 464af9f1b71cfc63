/* Compiled, not run: the compiler must warn about line 8 (an int for %s)
 * and about nothing else. */
#include "quarnel/quarnel.h"

void probe(LStrHandleA h, long long n) {
  _LStrSprintfA(h, "%s=%lld", "n", n);
  _LStrCatPrintfA(h, "%d%%", 5);
  _LStrSprintfA(h, "%s", 42);
}
