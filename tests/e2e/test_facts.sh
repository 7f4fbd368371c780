#!/usr/bin/env bash
# `quorvel --facts` prints the facts object of the results file as one JSON
# document and ends with 0, on both backends. On Linux, `--sysroot` reads
# the copies of other machines' /proc and /sys in tests/fixtures/machines
# and describes their cards and processors; the Windows program refuses the
# option with exit status 2.
PROGRAM="$1"
. "$(dirname "$0")/lib.sh"
source_dir="${QUORVEL_SOURCE:-$(dirname "$0")/../..}"
check="$source_dir/tests/e2e/check_results.py"
work="$(mktemp -d)"
trap 'stop_program; rm -rf "$work"' EXIT

# run_program OUT ERR ARGS...: runs the program to its end; its exit status.
run_program() {
  local out="$1" err="$2"
  shift 2
  if [ -n "${QUORVEL_WRAPPER:-}" ]; then
    timeout 120 "$QUORVEL_WRAPPER" "$PROGRAM" "$@" >"$out" 2>"$err"
  else
    timeout 60 "$PROGRAM" "$@" >"$out" 2>"$err"
  fi
}

# The facts of this machine and display, with the keys and types of the
# results file's facts.
run_program "$work/facts.json" "$work/facts.err" --facts
status=$?
[ "$status" = 0 ] || fail "--facts ended with $status: $(cat "$work/facts.err")"
/usr/bin/python3 - "$check" "$work/facts.json" <<'PY' || exit 1
import importlib.util, json, sys
spec = importlib.util.spec_from_file_location("check_results", sys.argv[1])
check = importlib.util.module_from_spec(spec)
spec.loader.exec_module(check)
text = open(sys.argv[2], encoding="utf-8").read()
try:
    facts = json.loads(text)
except ValueError as e:
    sys.exit("FAIL: --facts printed no JSON document (%s):\n%s" % (e, text))
for key, types in check.FACTS.items():
    check.expect(facts, key, types, "facts")
extra = set(facts) - set(check.FACTS)
if extra:
    sys.exit("FAIL: --facts printed more than the facts: %s" % sorted(extra))
if facts["screenWidth"] <= 0 or not facts["mode"].startswith("%d x %d x " % (facts["screenWidth"], facts["screenHeight"])):
    sys.exit("FAIL: the mode %r does not match the screen's size" % facts["mode"])
PY

if [ "${QUORVEL_BACKEND:-x11}" != "x11" ]; then
  run_program "$work/sysroot.out" "$work/sysroot.err" --facts --sysroot 'C:\'
  status=$?
  [ "$status" = 2 ] || fail "--sysroot on Windows ended with $status, not 2"
  grep -q -- "--sysroot is not available" "$work/sysroot.err" ||
    fail "--sysroot on Windows said: $(cat "$work/sysroot.err")"
  [ -s "$work/sysroot.out" ] && fail "--sysroot on Windows printed: $(cat "$work/sysroot.out")"
  echo "PASS (the machine copies are read by the Linux program only)"
  exit 0
fi

# Xvfb draws into memory: whatever card this machine has, the X server
# describes the adapter, and no driver is shown.
/usr/bin/python3 - "$work/facts.json" "$(xdpyinfo | sed -n 's/^vendor string: *//p')" \
  "$(xdpyinfo | sed -n 's/^vendor release number: *//p')" <<'PY' || exit 1
import json, sys
facts = json.load(open(sys.argv[1], encoding="utf-8"))
server = "%s %s" % (sys.argv[2], sys.argv[3])
if facts["adapter"] != server or facts["driverVersion"] != "":
    sys.exit("FAIL: on Xvfb the adapter is %r with driver %r, not the X server's %r" %
             (facts["adapter"], facts["driverVersion"], server))
PY

machines="$source_dir/tests/fixtures/machines"
for machine in hybrid_laptop simpledrm_first server_bmc no_pci_ids nvidia_proprietary arm_board; do
  run_program "$work/$machine.json" "$work/$machine.err" --facts --sysroot "$machines/$machine"
  status=$?
  [ "$status" = 0 ] || fail "--facts --sysroot $machine ended with $status: $(cat "$work/$machine.err")"
done
/usr/bin/python3 - "$work" "$work/facts.json" <<'PY' || exit 1
import json, sys
work = sys.argv[1]
here = json.load(open(sys.argv[2], encoding="utf-8"))
# What each copied machine is, as its files say.
expected = {
    "hybrid_laptop": {"adapter": "Intel Corporation TigerLake-LP GT2 [Iris Xe Graphics]",
                      "driverVersion": "6.1.0.0", "cpuSpeedMhz": "2800", "cpuVendor": "GenuineIntel",
                      "cpuIdentifier": "x86 Family 6 Model 140 Stepping 1", "osBuild": 6001},
    "simpledrm_first": {"adapter": "Advanced Micro Devices, Inc. [AMD/ATI] Navi 21 [Radeon RX 6800/6800 XT / 6900 XT]",
                        "driverVersion": "6.1.0.0", "cpuSpeedMhz": "3800", "cpuVendor": "AuthenticAMD",
                        "cpuIdentifier": "x86 Family 25 Model 33 Stepping 0", "osBuild": 6001},
    "server_bmc": {"adapter": "ASPEED Technology, Inc. ASPEED Graphics Family", "driverVersion": "6.1.0.0",
                   "cpuSpeedMhz": "2450", "cpuVendor": "AuthenticAMD",
                   "cpuIdentifier": "x86 Family 25 Model 1 Stepping 1", "osBuild": 6001},
    "no_pci_ids": {"adapter": "NVIDIA 10de:2684", "driverVersion": "545.29.6.0", "cpuSpeedMhz": "3000",
                   "cpuVendor": "GenuineIntel", "cpuIdentifier": "x86 Family 6 Model 183 Stepping 1",
                   "osBuild": 6001},
    "nvidia_proprietary": {"adapter": "NVIDIA GeForce GTX 1080", "driverVersion": "470.223.2.0",
                           "cpuSpeedMhz": "3600", "cpuVendor": "GenuineIntel",
                           "cpuIdentifier": "x86 Family 6 Model 158 Stepping 9", "osBuild": 6001},
    "arm_board": {"adapter": "vc4-drm", "driverVersion": "6.6.31.0", "cpuSpeedMhz": "",
                  "cpuVendor": "ARM", "cpuIdentifier": "Cortex-A72 r0p3", "osBuild": 6006},
}
# The display's own facts stay the display's.
from_display = ["screenWidth", "screenHeight", "colourBits", "refreshHz", "mode",
                "constantAlphaAccelerated", "perPixelAlphaAccelerated", "gradientFillAccelerated"]
for machine, want in expected.items():
    facts = json.load(open("%s/%s.json" % (work, machine), encoding="utf-8"))
    want = dict(want, multipleProcessors=1)
    for key, value in want.items():
        if facts.get(key) != value:
            sys.exit("FAIL: %s: %s is %r, not %r" % (machine, key, facts.get(key), value))
    for key in from_display:
        if facts[key] != here[key]:
            sys.exit("FAIL: %s: %s is %r, the display's is %r" % (machine, key, facts[key], here[key]))
    vram = 17163091968 if machine == "simpledrm_first" else 0
    if facts["videoMemoryMb"] != (facts["screenWidth"] * facts["screenHeight"] * facts["colourBits"] // 8 + vram + 100000) >> 20:
        sys.exit("FAIL: %s: videoMemoryMb is %r" % (machine, facts["videoMemoryMb"]))
print("PASS")
PY
