"""Run from outside the source tree after installing a wheel: the package must
load the library it carries, not one installed on the system, and work."""
import os

import quarnel

package = os.path.realpath(os.path.dirname(quarnel.__file__))
loaded = os.path.realpath(quarnel.lib.path)
assert loaded.startswith(package + os.sep), "loaded %s, not the wheel's library" % loaded
h = quarnel.lib.LStrAllocFromASzStrA(b"wheel", -1)
assert quarnel.lib.LStrLengthA(h) == 5
quarnel.lib.LStrDestroyA(h)
print("wheel: the bundled library at", os.path.relpath(loaded, package), "works")
