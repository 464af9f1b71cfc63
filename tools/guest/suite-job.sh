# Runs inside the guest, from the in-memory copy of the job: the 32-bit test
# suite, its number tests once more under a German user locale (Wine takes
# it from LANG), and the 32-bit host, all under Wine. The prefix is ready on
# the image, so the first program starts Wine's services itself; an explicit
# wineboot -u would set the prefix up all over again (minutes under
# emulation).
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" QUARNEL_ACP=1252
wineserver -p
t0=$(date +%s)
wine ./quarnel_tests.exe --gtest_brief=0
suite=$?
t1=$(date +%s)
LANG=de_DE.UTF-8 LC_ALL=de_DE.UTF-8 QUARNEL_EXPECT_LOCALE=de_DE.UTF-8 wine ./quarnel_tests.exe \
  --gtest_brief=0 --gtest_filter='*NumberSettings*:NumberText.*:NumberReaders.*:FormatExports.*'
german=$?
t2=$(date +%s)
wine ./quarnel_host32.exe
host=$?
# A host linked the Microsoft toolchain's way against the release's import
# library, when the release stage has built one.
if [ -e msvc_host.exe ]; then
  wine ./msvc_host.exe || host=1
fi
t3=$(date +%s)
wineserver -k
echo "guest: suite $((t1 - t0)) s (Wine's start included), German number tests $((t2 - t1)) s, host $((t3 - t2)) s"
echo "guest: exit codes: suite $suite, German number tests $german, host $host"
[ "$suite" -eq 0 ] && [ "$german" -eq 0 ] && [ "$host" -eq 0 ]
