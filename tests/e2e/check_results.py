#!/usr/bin/env python3
"""Checks a results file of `quorvel --run --results-file` against the keys
and types the README documents. Usage: check_results.py FILE RUNS [REPORT]
RUNS is the number of runs of --repeat N, or "auto" for --repeat auto.
Exits non-zero with a message on the first difference. With REPORT (the
report the program printed), also checks that it is the median run's.
QUORVEL_EXPECT_SHOWN, where set, names what every run's four tests must
say the desktop showed."""
import json
import os
import sys

TESTS = ["Black as transparent", "47% visibility", "50% visibility", "100% visibility"]
FACTS = {
    "adapter": str, "driverVersion": str, "videoMemoryMb": int, "screenWidth": int,
    "screenHeight": int, "colourBits": int, "refreshHz": int, "mode": str,
    "constantAlphaAccelerated": int, "perPixelAlphaAccelerated": int,
    "gradientFillAccelerated": int, "cpuSpeedMhz": str, "cpuVendor": str,
    "cpuIdentifier": str, "multipleProcessors": int, "osBuild": int, "isWindowsXP": int,
}
NUMBER = (int, float)
SHOWN = ("as asked", "opaque", "key not applied", "not as asked", "unknown")


def fail(message):
    sys.exit("FAIL: results file: " + message)


def expect(obj, key, types, where, nullable=False):
    if not isinstance(obj, dict) or key not in obj:
        fail("%s has no %r" % (where, key))
    value = obj[key]
    if value is None and nullable:
        return None
    if isinstance(value, bool) and types is not bool and bool not in (types if isinstance(types, tuple) else (types,)):
        fail("%s.%s is a boolean, not %s" % (where, key, types))
    if not isinstance(value, types):
        fail("%s.%s is %r, not %s" % (where, key, value, types))
    return value


def check_outliers(runs):
    """The marks: beyond three scaled MADs (1.4826 x MAD) of the median, or
    of 1.2533 x the mean absolute deviation when MAD is 0."""
    from statistics import mean, median
    scores = [r["overallScore"] for r in runs]
    middle = median(scores)
    deviations = [abs(x - middle) for x in scores]
    scale = 1.4826 * median(deviations)
    if scale == 0:
        scale = 1.2533 * mean(deviations)
    for r, run in enumerate(runs):
        far = scale > 0 and deviations[r] > 3 * scale
        if run["outlier"] != far:
            fail("runs[%d].outlier is %r for %r among %r" % (r, run["outlier"], scores[r], scores))


# summary.stopReason: "fixed count" for --repeat N, one of the others for auto.
AUTO_STOP_REASONS = ("precise", "run cap", "time cap", "not scored")
AUTO_MIN_RUNS, AUTO_MAX_RUNS, AUTO_PRECISION = 3, 20, 0.02


def check_stop(summary, runs, runs_wanted):
    reason = expect(summary, "stopReason", str, "summary")
    interval = expect(summary, "medianInterval", dict, "summary", nullable=True)
    median = summary["overallScore"]["median"]
    if (interval is None) != (len(runs) < 2):
        fail("summary.medianInterval is %r for %d runs" % (interval, len(runs)))
    relative = None
    if interval is not None:
        low = expect(interval, "low", NUMBER, "summary.medianInterval")
        high = expect(interval, "high", NUMBER, "summary.medianInterval")
        relative = expect(interval, "relativeHalfWidth", NUMBER, "summary.medianInterval",
                          nullable=True)
        if not low <= median <= high or abs((median - low) - (high - median)) > 1e-6 * max(1, median):
            fail("summary.medianInterval %r is not about the median %r" % (interval, median))
        if (relative is None) != (median <= 0) or (
                relative is not None and abs(relative * median - (high - median)) > 1e-6 * median):
            fail("summary.medianInterval.relativeHalfWidth %r for %r" % (relative, interval))
    if runs_wanted != "auto":
        if reason != "fixed count":
            fail("summary.stopReason is %r for --repeat %d" % (reason, runs_wanted))
        return
    if reason not in AUTO_STOP_REASONS:
        fail("summary.stopReason is %r" % reason)
    unscored = [i for i, r in enumerate(runs) if any(t["status"] != "scored" for t in r["tests"])]
    if (reason == "not scored") != (unscored == [len(runs) - 1]):
        fail("summary.stopReason is %r; runs %r had a test without a score" % (reason, unscored))
    if reason != "not scored" and len(runs) < AUTO_MIN_RUNS:
        fail("%s after %d runs" % (reason, len(runs)))
    if reason == "precise" and (relative is None or relative > AUTO_PRECISION):
        fail("precise with the median's half-width %r" % relative)
    if reason == "run cap" and len(runs) != AUTO_MAX_RUNS:
        fail("run cap after %d runs" % len(runs))


def check(doc, runs_wanted):
    expect(doc, "program", str, "document")
    if doc["program"] != "quorvel":
        fail("program is %r" % doc["program"])
    expect(doc, "version", str, "document")
    facts = expect(doc, "facts", dict, "document")
    for key, kind in FACTS.items():
        value = expect(facts, key, kind, "facts")
        if key.endswith("Accelerated") or key in ("multipleProcessors", "isWindowsXP"):
            if value not in (0, 1):
                fail("facts.%s is %r, not 0 or 1" % (key, value))
    desktop = expect(doc, "desktop", dict, "document")
    if expect(desktop, "backend", str, "desktop") not in ("x11", "win32"):
        fail("desktop.backend is %r" % desktop["backend"])
    expect(desktop, "windowManager", str, "desktop", nullable=True)
    expect(desktop, "compositor", bool, "desktop")
    expect(desktop, "frameDrawn", bool, "desktop")

    runs = expect(doc, "runs", list, "document")
    if runs_wanted == "auto":
        if not 1 <= len(runs) <= AUTO_MAX_RUNS:
            fail("%d runs, not 1 to %d" % (len(runs), AUTO_MAX_RUNS))
    elif len(runs) != runs_wanted:
        fail("%d runs, not %d" % (len(runs), runs_wanted))
    for r, run in enumerate(runs):
        where = "runs[%d]" % r
        tests = expect(run, "tests", list, where)
        if [t.get("label") for t in tests] != TESTS:
            fail("%s labels are %r" % (where, [t.get("label") for t in tests]))
        total = 0.0
        for t in tests:
            w = "%s.%s" % (where, t["label"])
            status = expect(t, "status", str, w)
            if status not in ("scored", "not run", "closed"):
                fail("%s.status is %r" % (w, status))
            text = expect(t, "scoreText", str, w, nullable=True)
            score = expect(t, "score", NUMBER, w, nullable=True)
            steps = expect(t, "steps", int, w)
            times = expect(t, "stepMicroseconds", dict, w, nullable=True)
            frames = expect(t, "compositorFrames", dict, w, nullable=True)
            schedule = expect(t, "schedule", dict, w, nullable=True)
            if schedule is not None:
                for party in ("worker", "window", "server"):
                    thread = expect(schedule, party, dict, w + ".schedule", nullable=True)
                    if thread is None:
                        continue
                    where = "%s.schedule.%s" % (w, party)
                    processors = expect(thread, "processors", list, where)
                    if len(processors) != 2 or not all(isinstance(p, int) for p in processors):
                        fail("%s.processors is %r" % (where, processors))
                    for key in ("runMicroseconds", "waitMicroseconds"):
                        if expect(thread, key, NUMBER, where) < 0:
                            fail("%s.%s is negative" % (where, key))
                    for key in ("migrations", "involuntarySwitches"):
                        if expect(thread, key, int, where) < 0:
                            fail("%s.%s is negative" % (where, key))
                expect(schedule, "stealMicroseconds", NUMBER, w + ".schedule", nullable=True)
            shown = expect(t, "shown", str, w)
            fraction = expect(t, "blendFraction", NUMBER, w, nullable=True)
            if shown not in SHOWN:
                fail("%s.shown is %r" % (w, shown))
            if fraction is not None and not 0 <= fraction <= 1:
                fail("%s.blendFraction is %r" % (w, fraction))
            if shown in ("opaque", "not as asked") and fraction is None:
                fail("%s: shown %r without its measured fraction" % (w, shown))
            if status == "scored":
                if score is None or text is None or abs(float(text) - score) > 1e-9:
                    fail("%s: score %r does not read as its text %r" % (w, score, text))
                if steps != 900 or times is None:
                    fail("%s: a scored test has %r steps" % (w, steps))
                total += score
            if times is not None:
                values = [expect(times, k, NUMBER, w + ".stepMicroseconds")
                          for k in ("min", "p50", "p90", "p99", "max")]
                if values != sorted(values) or values[0] < 0:
                    fail("%s: step times out of order: %r" % (w, values))
            if frames is not None:
                drawn = expect(frames, "drawn", int, w + ".compositorFrames")
                latency = expect(frames, "latencyMicroseconds", dict, w + ".compositorFrames")
                p50 = expect(latency, "p50", NUMBER, w + ".latencyMicroseconds")
                p99 = expect(latency, "p99", NUMBER, w + ".latencyMicroseconds")
                if drawn < 0 or p50 > p99:
                    fail("%s: compositor frames %r" % (w, frames))
        layered = expect(run, "layeredScore", int, where)
        overall = expect(run, "overallScore", int, where)
        if layered != int(total) or overall != layered:
            fail("%s: scores %d/%d, the tests add up to %r" % (where, layered, overall, total))
        expect(run, "outlier", bool, where)
    check_outliers(runs)

    summary = expect(doc, "summary", dict, "document")
    if expect(summary, "runs", int, "summary") != len(runs):
        fail("summary.runs is %r" % summary["runs"])
    spread = expect(summary, "overallScore", dict, "summary")
    for key in ("median", "mean", "min", "max", "stddev", "cv"):
        expect(spread, key, NUMBER, "summary.overallScore")
    scores = sorted(r["overallScore"] for r in runs)
    if spread["min"] != scores[0] or spread["max"] != scores[-1]:
        fail("summary min/max %r/%r, runs %r" % (spread["min"], spread["max"], scores))
    check_stop(summary, runs, runs_wanted)
    per_test = expect(summary, "tests", dict, "summary")
    for label in TESTS:
        entry = expect(per_test, label, dict, "summary.tests")
        expect(entry, "median", NUMBER, "summary.tests." + label, nullable=True)
        expect(entry, "cv", NUMBER, "summary.tests." + label, nullable=True)
    return runs


def check_shown(runs, wanted):
    """`wanted`: the verdict of each test in the report's order, for every run."""
    for i, run in enumerate(runs):
        got = [t["shown"] for t in run["tests"]]
        if got != wanted:
            fail("run %d: the desktop showed %r, expected %r (fractions %r)" % (
                i + 1, got, wanted, [t["blendFraction"] for t in run["tests"]]))


def median_run(runs):
    order = sorted(range(len(runs)), key=lambda i: runs[i]["overallScore"])  # stable
    return runs[order[(len(order) - 1) // 2]]


def main():
    path, runs_wanted = sys.argv[1], sys.argv[2]
    runs_wanted = runs_wanted if runs_wanted == "auto" else int(runs_wanted)
    try:
        with open(path, "rb") as f:
            doc = json.loads(f.read().decode("utf-8"))
    except (OSError, ValueError) as error:
        fail("%s does not read as UTF-8 JSON: %s" % (path, error))
    runs = check(doc, runs_wanted)
    if len(sys.argv) > 3:
        report = open(sys.argv[3], encoding="latin-1").read().replace("\r", "").split("\n")
        median = median_run(runs)
        want = "Overall Benchmark Score : %d" % median["overallScore"]
        if report[20] != want:
            fail("the report's last line is %r; the median run's is %r" % (report[20], want))
        for i, t in enumerate(median["tests"]):
            if t["status"] == "scored" and report[13 + i] != "  %s : %s" % (t["label"], t["scoreText"]):
                fail("report line %d is %r, the median run has %r" % (14 + i, report[13 + i], t))
    # QUORVEL_EXPECT_SHOWN: the four verdicts, comma-separated, that every
    # run must carry (what this desktop is known to show).
    wanted = os.environ.get("QUORVEL_EXPECT_SHOWN")
    if wanted:
        check_shown(runs, wanted.split(","))
    print("results file: %d runs, overall %r, cv %.4f" % (
        len(runs), [r["overallScore"] for r in runs], doc["summary"]["overallScore"]["cv"]))
    print("stopped: %s" % doc["summary"]["stopReason"])


if __name__ == "__main__":
    main()
