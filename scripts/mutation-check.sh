#!/usr/bin/env bash
# The mutation check: plants each fault of scripts/mutations.txt in turn in a
# scratch copy of the code, rebuilds what it touches, runs the tests that cover
# the changed file and reports the faults no test caught.
#
#   scripts/mutation-check.sh [--rev REV] [--only PREFIX]... [--list FILE]
#                             [--report FILE] [--scratch DIR] [--jobs N] [--check]
#
#   --rev REV       the code to test (default HEAD); uncommitted work can be tested
#                   with --rev "$(git stash create)"
#   --only PREFIX   only the faults whose file or id starts with PREFIX (repeatable),
#                   e.g. --only src/ui/ or --only demography-
#   --list FILE     the list of faults (default scripts/mutations.txt)
#   --report FILE   where the report goes (default build-mutation-report.md in the
#                   scratch directory; docs/mutation-report.md holds the committed one)
#   --scratch DIR   the scratch copy and its build (default /tmp/demovar-mutation-<id>);
#                   kept between runs, so that the next run rebuilds incrementally
#   --jobs N        build jobs (default 2)
#   --skip NAME     leave out the covering tests whose executable or ctest pattern
#                   contains NAME (repeatable), e.g. one that fails on the unchanged code
#   --check         only check that every fault's text is still found once
#
# The scratch copy is a clone sharing this repository's objects; its build uses
# ccache and no -Werror (a fault may leave a variable unused).
# Each covering test executable's cases run through ctest, one process per case, as
# CI runs them. A fault counts as caught when a covering test fails, crashes or runs
# past its time limit (10 minutes a test executable), provided that test passes on the
# unchanged code (checked once at the end); as stale when its text is no longer
# found once in the file; as broken when the changed code does not build. The
# report is rewritten after each fault, so a long run can be followed.
set -uo pipefail
repo=$(git -C "$(dirname "$0")/.." rev-parse --show-toplevel) || exit 2
exec python3 - "$repo" "$@" <<'PYTHON'
import datetime, hashlib, os, re, shutil, subprocess, sys, time

repo = sys.argv[1]
args = sys.argv[2:]
opts = {"rev": "HEAD", "only": [], "skip": [], "list": os.path.join(repo, "scripts/mutations.txt"),
        "report": None, "scratch": None, "jobs": "2", "check": False}
i = 0
while i < len(args):
    a = args[i]
    if a == "--check":
        opts["check"] = True
        i += 1
        continue
    if a in ("--rev", "--only", "--skip", "--list", "--report", "--scratch", "--jobs") and i + 1 < len(args):
        key = a[2:]
        if key in ("only", "skip"):
            opts[key].append(args[i + 1])
        else:
            opts[key] = args[i + 1]
        i += 2
        continue
    print(f"mutation-check: unknown or incomplete option {a!r}; see the head of scripts/mutation-check.sh",
          file=sys.stderr)
    sys.exit(2)

# --- Which tests cover which code -------------------------------------------------------
# Each test unit is a test executable (run whole, stopping at its first failure) or a
# ctest name pattern with the targets it needs. A folder's own tests come first, so a
# caught fault costs as little as possible; the units that start the whole program
# (app) come last.
def gtests(folder, *names):
    return [("exe", f"tests/{folder}/{n}", (n,)) for n in names]

def ctest(pattern, *targets):
    return [("ctest", pattern, tuple(targets))]

def ui_units(build):
    # one executable per tests/ui/*_test.cpp, as tests/ui/CMakeLists.txt makes them
    d = os.path.join(src, "tests/ui")
    return gtests("ui", *sorted("ui_" + n[:-4] for n in os.listdir(d) if n.endswith("_test.cpp")))

def app_units():
    return (gtests("app", "app_startup_tests", "app_command_table_test", "app_population_display_test",
                   "app_scenario_windows_test", "app_country_selection_test", "app_screen_dump_dialog_test",
                   "app_end_to_end_test", "app_walkthrough_test", "app_interface_file_layout_test")
            + ctest("^app_.*_up_to_date$", "make_intro_picture", "make_geo_text", "make_walkthru_start"))

def pictures_units():
    return gtests("pictures", "pictures_tests", "colour_map_tests", "picture_drawing_tests",
                  "gif_writer_test", "screen_dump_test")

def demography_units():
    return gtests("demography", "demography_tests") + ctest("^vkproject_bundled_data$", "vkproject")

def tools_units():
    return gtests("tools", "worlddata_engine_tests", "worlddata_tests") + ctest("^backtest_report_up_to_date$", "make_backtest")

def units_for(path, build):
    top = path.split("/")
    where = "/".join(top[:2])
    if where == "src/base":
        return (gtests("base", "base_tests") + gtests("startup", "startup_tests") + gtests("platform", "platform_tests")
                + ui_units(build) + pictures_units() + demography_units() + app_units() + tools_units())
    if where == "src/startup":
        return (gtests("startup", "startup_tests") + demography_units() + gtests("pictures", "colour_map_tests")
                + app_units() + tools_units())
    if where == "src/platform":
        return (gtests("platform", "platform_tests") + ctest("^platform_headless_script_run$", "platform_window_probe")
                + ui_units(build) + pictures_units() + app_units())
    if where == "src/ui":
        return ui_units(build) + pictures_units() + app_units()
    if where == "src/pictures":
        return pictures_units() + app_units() + gtests("tools", "worlddata_engine_tests")
    if where == "src/demography":
        return demography_units() + app_units() + tools_units()
    if where == "src/app":
        return app_units()
    if where == "tools/vkproject":
        return gtests("demography", "demography_tests") + ctest("^vkproject_bundled_data$", "vkproject")
    if where == "tools/worlddata":
        return tools_units()
    if where == "tools/backtest":
        return ctest("^backtest_report_up_to_date$", "make_backtest")
    if where in ("tools/introgen", "tools/geotext", "tools/walkthrugen"):
        return ctest("^app_.*_up_to_date$", "make_intro_picture", "make_geo_text", "make_walkthru_start")
    return []

def covering(path, build):
    # The tests named after the file first: they are the likeliest to catch it soonest.
    stem = os.path.splitext(os.path.basename(path))[0]
    units = [u for u in units_for(path, build) if not any(n in u[1] for n in opts["skip"])]
    return [u for u in units if stem in u[1]] + [u for u in units if stem not in u[1]]

def folder_of(unit):
    kind, name, _ = unit
    if kind == "exe":
        return "/".join(name.split("/")[:2])
    return {"^platform_headless_script_run$": "tests/platform", "^vkproject_bundled_data$": "tests/demography",
            "^backtest_report_up_to_date$": "tests/tools"}.get(name, "tests/app")

# --- The list --------------------------------------------------------------------------------
def read_list(path):
    faults, cur = [], None
    for number, line in enumerate(open(path, encoding="utf-8"), 1):
        line = line.rstrip("\n")
        if line.startswith("== "):
            parts = [p.strip() for p in line[3:].split("|", 2)]
            if len(parts) != 3:
                sys.exit(f"{path}:{number}: a header is '== ID | FILE | description'")
            cur = {"id": parts[0], "file": parts[1], "what": parts[2], "old": None, "new": None, "line": number}
            faults.append(cur)
        elif line.startswith("- ") and cur is not None and cur["old"] is None:
            cur["old"] = line[2:].strip()
        elif line.startswith("+ ") or line == "+":
            if cur is None or cur["old"] is None or cur["new"] is not None:
                sys.exit(f"{path}:{number}: '+' line without its '-' line")
            cur["new"] = line[2:].strip()
        elif line.strip() and not line.startswith("#"):
            sys.exit(f"{path}:{number}: not part of an entry: {line!r}")
    ids = set()
    for f in faults:
        if f["old"] is None or f["new"] is None:
            sys.exit(f"{path}:{f['line']}: entry {f['id']} needs a '-' and a '+' line")
        if f["id"] in ids:
            sys.exit(f"{path}:{f['line']}: id {f['id']} given twice")
        ids.add(f["id"])
    return faults

faults = read_list(opts["list"])
if opts["only"]:
    faults = [f for f in faults if any(f["file"].startswith(p) or f["id"].startswith(p) for p in opts["only"])]
if not faults:
    sys.exit("mutation-check: no fault matches")

def git(*a, cwd=repo, check=True):
    return subprocess.run(["git", *a], cwd=cwd, check=check, capture_output=True, text=True).stdout.strip()

commit = git("rev-parse", "--verify", opts["rev"] + "^{commit}")
scratch = opts["scratch"] or "/tmp/demovar-mutation-" + hashlib.sha1(repo.encode()).hexdigest()[:8]
src = os.path.join(scratch, "tree")
# The build lies inside the copy, as build/ lies in a checkout, so that ccache finds
# what a developer's own build compiled.
build = os.path.join(src, "build")
report_path = opts["report"] or os.path.join(scratch, "mutation-report.md")

# --- The scratch copy at the commit -------------------------------------------------------------
os.makedirs(scratch, exist_ok=True)
import fcntl
lock = open(os.path.join(scratch, "lock"), "w")
try:
    fcntl.flock(lock, fcntl.LOCK_EX | fcntl.LOCK_NB)
except OSError:
    sys.exit(f"mutation-check: another run is using {scratch}; give this one its own --scratch")
if not os.path.isdir(os.path.join(src, ".git")):
    subprocess.run(["git", "clone", "--quiet", "--shared", "--no-checkout", repo, src], check=True)
# The clone borrows this repository's objects, so any commit of it can be checked out;
# unchanged files keep their times, so the build stays incremental.
git("checkout", "--quiet", "--force", "--detach", commit, cwd=src)
git("clean", "--quiet", "-fdx", "-e", "/build", cwd=src)

def text_of(path):
    with open(os.path.join(src, path), encoding="utf-8") as fh:
        return fh.read()

for f in faults:
    path = os.path.join(src, f["file"])
    n = text_of(f["file"]).count(f["old"]) if os.path.isfile(path) else 0
    f["stale"] = n != 1
    f["why_stale"] = "file gone" if not os.path.isfile(path) else ("text not found" if n == 0 else f"text found {n} times")

if opts["check"]:
    stale = [f for f in faults if f["stale"]]
    for f in stale:
        print(f"stale  {f['id']:32} {f['file']}: {f['why_stale']}")
    print(f"{len(faults) - len(stale)} of {len(faults)} faults apply to {commit[:7]}")
    sys.exit(1 if stale else 0)

env = dict(os.environ)
for k in ("VARNOCK_PLATFORM", "VARNOCK_SCRIPT"):
    env.pop(k, None)
env.update({"CCACHE_BASEDIR": src, "CCACHE_NOHASHDIR": "1", "CMAKE_CXX_COMPILER_LAUNCHER": "ccache", "CMAKE_C_COMPILER_LAUNCHER": "ccache",
            "GTEST_COLOR": "no"})
log_path = os.path.join(scratch, "mutation.log")
log = open(log_path, "w")

def run(cmd, cwd=None, timeout=None):
    log.write(f"$ {' '.join(cmd)}\n")
    log.flush()
    try:
        p = subprocess.run(cmd, cwd=cwd, env=env, stdout=log, stderr=subprocess.STDOUT, timeout=timeout)
        return p.returncode
    except subprocess.TimeoutExpired:
        log.write("(timed out)\n")
        return "timeout"

def load():
    return open("/proc/loadavg").read().split()[0]

started = time.time()
load_start = load()
if not os.path.isfile(os.path.join(build, "build.ninja")):
    rc = run(["cmake", "-S", src, "-B", build, "-G", "Ninja", "-DCMAKE_BUILD_TYPE=RelWithDebInfo",
              "-DDEMOVAR_WERROR=OFF", "-DDEMOVAR_BENCH=OFF",
              # The scratch copy lies elsewhere: the source data stays beside the repository,
              # or the tests of the data tools would skip.
              "-DDEMOVAR_SOURCE_DATA_DIR=" + os.path.join(os.path.dirname(repo), "shared", "data")])
    if rc != 0:
        sys.exit(f"mutation-check: cmake failed, see {log_path}")

def build_targets(targets):
    return run(["cmake", "--build", build, "-j", opts["jobs"], "--target", *targets]) == 0

# A test executable's cases run through ctest, one process each, as CI runs them:
# some cases pass alone but not after others in the same process. ctest names the
# cases without their executable, so the names come from its listing, once the
# executable is built (its cases are discovered then).
ctest_names = {}

def ctest_regex(exe):
    if exe not in ctest_names:
        listing = subprocess.run(["ctest", "--test-dir", build, "--show-only=json-v1"], env=env,
                                 capture_output=True, text=True)
        import json
        names = []
        for t in json.loads(listing.stdout or "{}").get("tests", []):
            command = t.get("command") or [""]
            if os.path.realpath(command[0]) == os.path.realpath(exe):
                names.append(t["name"])
        ctest_names[exe] = names
    # CMake's regular expressions: escape by hand what they treat specially
    escaped = ["".join("\\" + c if c in ".[]()*+?^$|\\" else c for c in n) for n in ctest_names[exe]]
    return "^(" + "|".join(escaped) + ")$" if escaped else None

def run_unit(unit, limit):
    kind, name, _ = unit
    pattern = name
    if kind == "exe":
        pattern = ctest_regex(os.path.join(build, name))
        if pattern is None:
            log.write(f"(ctest lists no test of {name})\n")
            return "no tests"
    return run(["ctest", "--test-dir", build, "-R", pattern, "--stop-on-failure", "-j", opts["jobs"]], timeout=limit)

# --- The unchanged code must build ----------------------------------------------------------------
active = [f for f in faults if not f["stale"]]
print(f"mutation-check: {commit[:7]}, {len(faults)} faults, scratch {scratch}", flush=True)
built_once = set()
for f in faults:
    f.update(result="stale" if f["stale"] else "pending", by="", seconds=0.0, units=[])

def write_report(done, confirm_seconds=None, unconfirmed=()):
    total_seconds = time.time() - started
    count = {r: sum(1 for f in faults if f["result"] == r) for r in ("caught", "survived", "stale", "broken")}
    scored = count["caught"] + count["survived"]
    score = 100.0 * count["caught"] / scored if scored else 0.0
    now = datetime.datetime.now(datetime.timezone.utc)
    subject = git("log", "-1", "--format=%h %s", commit)
    lines = ["# Mutation check", ""]
    if not done:
        pending = sum(1 for f in faults if f["result"] == "pending")
        lines += [f"**Still running: {pending} of {len(faults)} faults not yet tried.**", ""]
    lines += [
        f"Run {now:%Y-%m-%d %H:%M} UTC by `scripts/mutation-check.sh` on {subject}",
        f"({len(faults)} faults of `{os.path.relpath(opts['list'], repo)}`"
        + (f", only {', '.join(opts['only'])}" if opts["only"] else "") + ").",
        "",
        f"**Score: {count['caught']} of {scored} caught ({score:.1f} %)**; "
        f"{count['survived']} survived, {count['stale']} stale, {count['broken']} did not build.",
        "",
        f"Time: {total_seconds / 60:.1f} min on {os.cpu_count()} cores with {opts['jobs']} build jobs"
        + (f" ({confirm_seconds / 60:.1f} min of it confirming on the unchanged code that the catching tests pass)"
           if confirm_seconds is not None else "")
        + f"; load average {load_start} at the start, {load()} now.",
        "",
    ]
    if unconfirmed:
        lines += ["Not counted as caught, because these tests fail on the unchanged code too: "
                  + ", ".join(f"`{u[1]}`" for u in unconfirmed) + ".", ""]
    survivors = [f for f in faults if f["result"] == "survived"]
    if survivors:
        lines += ["## Survivors, by the test folder that should catch them", ""]
        by_folder = {}
        for f in survivors:
            by_folder.setdefault(folder_of(f["units"][0]) if f["units"] else "(no tests)", []).append(f)
        for folder in sorted(by_folder):
            lines.append(f"- {folder}")
            for f in by_folder[folder]:
                lines.append(f"  - `{f['id']}` ({f['file']}): {f['what']}")
        lines.append("")
    lines += ["## Every fault", "", "| fault | file | result | caught by | s |", "|---|---|---|---|---|"]
    for f in faults:
        lines.append(f"| `{f['id']}` | {f['file']} | {f['result']} | {f['by']} | {f['seconds']:.0f} |")
    os.makedirs(os.path.dirname(os.path.abspath(report_path)), exist_ok=True)
    with open(report_path, "w", encoding="utf-8") as fh:
        fh.write("\n".join(lines) + "\n")
    return count, scored, score, total_seconds

# --- Each fault --------------------------------------------------------------------------------
# A unit that fails is taken as catching the fault; the units that caught any are
# run on the unchanged code at the end, and their catches only count if they pass.
# The faults with the fewest covering tests go first, so that a run cut short has
# tried as many as it could; the report keeps the list's order.
order = sorted(faults, key=lambda f: 0 if f["stale"] else len(covering(f["file"], build)))
for number, f in enumerate(order, 1):
    if f["stale"]:
        print(f"[{number}/{len(faults)}] {f['id']}: stale ({f['why_stale']})", flush=True)
        continue
    t0 = time.time()
    path = os.path.join(src, f["file"])
    original = text_of(f["file"])
    units = covering(f["file"], build)
    # The unchanged code of the first unit builds, so that a build failure is the fault's.
    first = [t for t in units[0][2] if t not in built_once] if units else []
    if first and not build_targets(first):
        sys.exit(f"mutation-check: the unchanged code does not build, see {log_path}")
    built_once.update(first)
    with open(path, "w", encoding="utf-8") as fh:
        fh.write(original.replace(f["old"], f["new"], 1))
    try:
        result, by, caught_by = "survived", "", None
        built = set()
        for u in units:
            need = [t for t in u[2] if t not in built]
            if need and not build_targets(need):
                result, by = "broken", "build"
                break
            built.update(need)
            built_once.update(need)
            rc = run_unit(u, 600)
            if rc != 0:
                result, by, caught_by = "caught", u[1].split("/")[-1] + (" (timeout)" if rc == "timeout" else ""), u
                break
        f.update(result=result, by=by, units=units, caught_by=caught_by)
    finally:
        with open(path, "w", encoding="utf-8") as fh:
            fh.write(original)
    f["seconds"] = time.time() - t0
    print(f"[{number}/{len(faults)}] {f['id']}: {f['result']} {f['by']} ({f['seconds']:.0f} s)", flush=True)
    write_report(False)

# --- The catching tests pass on the unchanged code ------------------------------------------------
t0 = time.time()
catching = []
for f in faults:
    if f.get("caught_by") and f["caught_by"] not in catching:
        catching.append(f["caught_by"])
unconfirmed = []
if catching and not build_targets(sorted({t for u in catching for t in u[2]})):
    sys.exit(f"mutation-check: the unchanged code does not build, see {log_path}")
for u in catching:
    if run_unit(u, 1800) != 0:
        unconfirmed.append(u)
        print(f"  fails on the unchanged code too: {u[1]}", flush=True)
for f in faults:
    if f.get("caught_by") in unconfirmed:
        f["result"], f["by"] = "survived", f["by"] + " (fails unchanged too)"
count, scored, score, total_seconds = write_report(True, time.time() - t0, unconfirmed)
print(f"mutation-check: {count['caught']}/{scored} caught ({score:.1f} %), {count['survived']} survived, "
      f"{count['stale']} stale, {count['broken']} broken in {total_seconds / 60:.1f} min; report {report_path}")
sys.exit(0)
PYTHON
