# Runs inside the guest, from the in-memory copy of the job: the 32-bit test
# suite and then the 32-bit host, under Wine.
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" QUARNEL_ACP=1252
wineserver -p
wine wineboot -u >/dev/null 2>&1
t0=$(date +%s)
wine ./quarnel_tests.exe --gtest_brief=0
suite=$?
t1=$(date +%s)
wine ./quarnel_host32.exe quarnel_test_strings.dll
host=$?
t2=$(date +%s)
wineserver -k
echo "guest: suite $((t1 - t0)) s, host $((t2 - t1)) s"
echo "guest: suite exit $suite, host exit $host"
[ "$suite" -eq 0 ] && [ "$host" -eq 0 ]
