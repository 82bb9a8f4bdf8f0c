#!/usr/bin/env python3
"""Speed of the script engine on the 4-angle preview, as ratios against the
ffmpeg program doing the same work in the same run, and of vistrel-sync
matching four angles by their sound.

Usage: engine_bench.py BUILD_DIR [h264|mjpeg|conformed|sync|proxies|4k|identity|recording ...]
Media are generated once into BUILD_DIR/bench-media (four 1080p25 clips of
60 s in H.264 with a GOP of 250, and the same in MJPEG; VISTREL_BENCH_SECONDS
sets another length). Then the player's dropped frames with a phone-like
variable-rate angle A against the same clip at a constant rate; for
vistrel-sync four angles of 10 minutes and of an hour with AAC sound, clocks up
to 104 ppm apart and a tiny video track, against angle A and against a sound
recording of the same length (VISTREL_SYNC_BENCH_SECONDS sets other lengths,
e.g. "60,600"); and the four-angle preview of camera-like angles with and
without preview proxies, in 1080p and in 4K; and what checking four one-hour
clips against their proxies costs when the preview is opened; and the render
of an edit with a sound recording under it against the same edit with angle
A's sound."""

import os
import shutil
import subprocess
import sys
import tempfile
import time

SECONDS = int(os.environ.get("VISTREL_BENCH_SECONDS", "60"))  # length of each clip
SYNC_SECONDS = [int(x) for x in os.environ.get("VISTREL_SYNC_BENCH_SECONDS", "600,3600").split(",")]
# Where each angle starts in the shared recording; the start frames vistrel-sync
# must find follow from them (25 fps).
SYNC_STARTS = [3.0, 0.0, 20.52, 44.08]
# Each angle's clock: how many of the event's 48000 samples a second it makes
# a second of its own (47995: 104 ppm fast, 48005: 104 ppm slow).
SYNC_CLOCKS = [48000, 47995, 48005, 47998]
SYNC_RECORDING_START = 1.0
GOP = 250
ANGLES = 4


def run(cmd, env=None):
    """Wall time of one command."""
    start = time.monotonic()
    subprocess.run(cmd, check=True, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return time.monotonic() - start


def usage_of(cmd, env=None):
    """CPU seconds and peak resident memory (MiB) of one command, measured by GNU time."""
    out = subprocess.run(["/usr/bin/time", "-f", "%U %S %M"] + cmd, env=env, check=True,
                         stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True).stderr
    user, system, peak = out.strip().splitlines()[-1].split()
    return float(user) + float(system), int(peak) / 1024.0


def make_media(folder, codec, angles=ANGLES, sound=False):
    """The clips of the angles; with sound (a tone per angle, AAC) for an edit, which lays angle A's sound under it."""
    os.makedirs(folder, exist_ok=True)
    paths = []
    for angle in range(angles):
        ext = "mp4" if codec == "h264" else "avi"
        path = os.path.join(folder, f"angle{angle}-{codec}{'-sound' if sound else ''}-{SECONDS}s.{ext}")
        paths.append(path)
        if os.path.exists(path):
            continue
        source = f"testsrc2=size=1920x1080:rate=25:duration={SECONDS},hue=h={angle * 90}"
        tone = ["-f", "lavfi", "-i", f"sine=frequency={440 + 110 * angle}:duration={SECONDS}", "-c:a", "aac"]
        encode = (["-c:v", "libx264", "-preset", "veryfast", "-g", str(GOP), "-bf", "2", "-pix_fmt", "yuv420p"]
                  if codec == "h264" else ["-c:v", "mjpeg", "-q:v", "5", "-pix_fmt", "yuvj420p"])
        partial = path + ".part." + ext
        print(f"  making {os.path.basename(path)} ...", flush=True)
        subprocess.run(["ffmpeg", "-v", "error", "-y", "-f", "lavfi", "-i", source] + (tone if sound else []) +
                       encode + [partial], check=True)
        os.replace(partial, path)
    return paths


def preview_script(paths, folder, codec):
    lines = ["overlap=20"]
    for i, path in enumerate(paths):
        lines.append(f'angle{i}=avisource("{path}").bilinearresize(176,120).converttorgb32().trim(0,0)')
    lines.append('bc=blankclip(angle0.framecount(),176,120,"rgb32",angle0.framerate())')
    lines.append("stackhorizontal(angle0,angle1,angle2,angle3)")
    lines += ["", ""]
    script = os.path.join(folder, f"preview-{codec}-{SECONDS}s.avs")
    with open(script, "w", newline="") as f:
        f.write("\r\n".join(lines) + "\r\n")
    return script


def ffmpeg_preview(paths):
    inputs = sum((["-i", p] for p in paths), [])
    chains = ";".join(f"[{i}:v]scale=176:120:flags=bilinear,format=bgra[v{i}]" for i in range(len(paths)))
    stack = "".join(f"[v{i}]" for i in range(len(paths))) + f"hstack=inputs={len(paths)}[out]"
    return ["ffmpeg", "-v", "error", "-threads", "2"] + inputs + [
        "-filter_complex", chains + ";" + stack, "-map", "[out]", "-f", "null", "-"]


def ffmpeg_decode_only(paths):
    inputs = sum((["-i", p] for p in paths), [])
    maps = sum((["-map", f"{i}:v"] for i in range(len(paths))), [])
    return ["ffmpeg", "-v", "error", "-threads", "2"] + inputs + maps + ["-f", "null", "-"]


def bench_window_render(build, env):
    """The edit rendered from the window against vistrel-render on the same script from a shell."""
    paths = make_media(os.path.join(build, "bench-media"), "h264", angles=2, sound=True)
    window_bench = os.path.join(build, "bin", "vistrel-window-render-bench")
    render = os.path.join(build, "bin", "vistrel-render")
    out = tempfile.mkdtemp(prefix="vistrel-bench-render-")
    try:
        report = subprocess.run([window_bench, os.path.join(out, "window.mp4")] + paths, env=env, check=True,
                                capture_output=True, text=True).stdout
        figures = dict(line.split(": ", 1) for line in report.splitlines() if ": " in line)
        window = float(figures["window_render_seconds"])
        shell = run([render, figures["script"], "-o", os.path.join(out, "shell.mp4"), "-q"], env)
        print(f"  edit of two angles rendered to MP4, cut every 150 frames:")
        print(f"    from the window (Render video..., until its message): {window:7.2f} s")
        print(f"    vistrel-render from a shell, same script:           {shell:7.2f} s")
        print(f"    ratio window / shell:                               {window / shell:7.3f}   (target <= 1.05)")
    finally:
        shutil.rmtree(out, ignore_errors=True)


def bench_codec(build, codec):
    folder = os.path.join(build, "bench-media")
    paths = make_media(folder, codec)
    script = preview_script(paths, folder, codec)
    render = os.path.join(build, "bin", "vistrel-render")
    cache = tempfile.mkdtemp(prefix="vistrel-bench-cache-")
    env = dict(os.environ, XDG_CACHE_HOME=cache, QT_QPA_PLATFORM="offscreen")
    try:
        index_time = run([render, script, "--info"], env)
        first_frame = min(run([render, script, "--null", "-q", "--frames", "0-0"], env) for _ in range(3))
        ours = run([render, script, "--null", "-q"], env)
        ours_cpu, ours_peak = usage_of([render, script, "--null", "-q"], env)
        reference = run(ffmpeg_preview(paths))
        reference_cpu, reference_peak = usage_of(ffmpeg_preview(paths))
        floor = run(ffmpeg_decode_only(paths))
        print(f"[{codec}] four 1080p25 clips of {SECONDS} s, preview 704x120")
        print(f"  index build, 4 files (first open):    {index_time:7.2f} s")
        print(f"  open + first frame, indexes stored:     {first_frame:7.2f} s   (target < 1 s; process start included)")
        print(f"  vistrel-render --null preview:          {ours:7.2f} s")
        print(f"  ffmpeg, same work (scale+bgra+hstack):  {reference:7.2f} s")
        print(f"  ffmpeg, decoding the four clips only:   {floor:7.2f} s")
        print(f"  ratio ours / ffmpeg same work:          {ours / reference:7.2f}   (target <= 1.0)")
        print(f"  ratio ours / decoding floor:            {ours / floor:7.2f}")
        print(f"  ratio floor / ffmpeg same work:         {floor / reference:7.2f}   (ffmpeg spends this share decoding)")
        print(f"  CPU ours / ffmpeg:                      {ours_cpu:7.1f} s / {reference_cpu:.1f} s"
              f" = {ours_cpu / reference_cpu:.2f}")
        print(f"  peak memory ours / ffmpeg:              {ours_peak:7.0f} MiB / {reference_peak:.0f} MiB")
        if codec == "h264":
            seek = os.path.join(build, "bin", "vistrel-seek-bench")
            out = subprocess.run([seek, paths[0], str(GOP)], env=env, check=True,
                                 capture_output=True, text=True).stdout
            print("  random frame(n) in one clip:")
            for line in out.splitlines():
                print("    " + line)
            gop_ms = float(out.split("gop_decode_ms:")[1].split()[0])
            out = subprocess.run([seek, script, str(GOP), "12"], env=env, check=True,
                                 capture_output=True, text=True).stdout
            print("  the same in the preview script (four angles side by side):")
            for line in out.splitlines():
                print("    " + line)
            player = os.path.join(build, "bin", "vistrel-player-bench")
            out = subprocess.run([player, script, "30"], env=env, check=True,
                                 capture_output=True, text=True).stdout
            figures = dict(line.split(": ") for line in out.splitlines() if ": " in line)
            reference_per_second = reference_cpu / SECONDS
            print("  the player, preview at rate 1000 for 30 s, offscreen (then seeks paused and playing,"
                  " and 10 s dragging the rate):")
            for line in out.splitlines():
                print("    " + line)
            print(f"    cpu per video second vs ffmpeg same work: "
                  f"{float(figures['cpu_seconds_per_video_second']) / reference_per_second:.2f}")
            print(f"    seek median / p95 vs one GOP decoded:     "
                  f"{float(figures['seek_median_ms']) / gop_ms:.2f} / {float(figures['seek_p95_ms']) / gop_ms:.2f}")
            print(f"    same, seeking while playing:              "
                  f"{float(figures['seek_playing_median_ms']) / gop_ms:.2f} / "
                  f"{float(figures['seek_playing_p95_ms']) / gop_ms:.2f}")
            plain = int(figures["frames_shown"]) / float(figures["play_seconds"])
            dragged = int(figures["rate_drag_frames_shown"]) / (float(figures["play_seconds"]) / 3)
            print(f"    frames shown while dragging the rate vs plain play: {dragged / max(plain, 1e-9):.2f}"
                  f" (CPU per frame {figures['rate_drag_cpu_per_frame_vs_play']})")
            bench_window_render(build, env)
    finally:
        shutil.rmtree(cache, ignore_errors=True)


def make_phone_clip(folder, variable):
    """Angle A at 30 fps in H.264; the variable one lost every tenth frame, as
    a phone under load does, and keeps the others at their times."""
    kind = "variable" if variable else "constant"
    path = os.path.join(folder, f"phone-{kind}-{SECONDS}s.mp4")
    if not os.path.exists(path):
        source = f"testsrc2=size=1920x1080:rate=30:duration={SECONDS}"
        drop = ["-vf", "select='not(eq(mod(n,10),9))'", "-fps_mode", "passthrough"] if variable else []
        partial = path + ".part.mp4"
        print(f"  making {os.path.basename(path)} ...", flush=True)
        subprocess.run(["ffmpeg", "-v", "error", "-y", "-f", "lavfi", "-i", source] + drop +
                       ["-c:v", "libx264", "-preset", "veryfast", "-g", "30", "-bf", "2", "-pix_fmt", "yuv420p",
                        partial], check=True)
        os.replace(partial, path)
    return path


def bench_conformed(build):
    folder = os.path.join(build, "bench-media")
    angles = make_media(folder, "h264")[1:]
    player = os.path.join(build, "bin", "vistrel-player-bench")
    render = os.path.join(build, "bin", "vistrel-render")
    cache = tempfile.mkdtemp(prefix="vistrel-bench-cache-")
    env = dict(os.environ, XDG_CACHE_HOME=cache, QT_QPA_PLATFORM="offscreen")
    dropped = {}
    try:
        print(f"[variable rate] angle A 1080p30 H.264 of {SECONDS} s beside three 1080p25 angles, the player for 30 s")
        for variable in (False, True):
            kind = "variable" if variable else "constant"
            paths = [make_phone_clip(folder, variable)] + angles
            script = preview_script(paths, folder, f"phone-{kind}")
            info = subprocess.run([render, paths[0], "--info"], env=env, check=True,
                                  capture_output=True, text=True).stdout
            timing = [line for line in info.splitlines() if line.startswith(("fps:", "frames:", "timing:"))]
            out = subprocess.run([player, script, "30", "10"], env=env, check=True,
                                 capture_output=True, text=True).stdout
            figures = dict(line.split(": ") for line in out.splitlines() if ": " in line)
            dropped[kind] = int(figures["frames_dropped"])
            print(f"  {kind:8} angle A ({', '.join(timing)}): shown {figures['frames_shown']},"
                  f" dropped {figures['frames_dropped']}, cpu/s {figures['cpu_seconds_per_video_second']}")
        verdict = "no more" if dropped["variable"] <= dropped["constant"] else "MORE"
        print(f"  the conformed angle drops {verdict} frames than the constant one"
              f" ({dropped['variable']} against {dropped['constant']})")
    finally:
        shutil.rmtree(cache, ignore_errors=True)


def make_sound_file(path, seconds, start, clock, volume, seed, video):
    """One recording of the event (pink noise in bursts and pauses, like speech) that
    started `start` seconds into it, at its own gain and with noise of its own, AAC
    stereo at 48 kHz; its clock makes `clock` of the event's 48000 samples a second
    (47995: 104 ppm fast). With a 16x16 video track for a camera."""
    if os.path.exists(path):
        return path
    length = seconds + max(SYNC_STARTS) + 2
    event = (f"anoisesrc=c=pink:seed=1:r=48000:d={length}[n];"
             f"anoisesrc=c=white:seed=2:r=48000:d={length},lowpass=f=3,lowpass=f=3,aeval='max(val(0),0)*60'[e];"
             f"[n][e]amultiply")
    sound = (f"{event},atrim=start={start}:duration={seconds * clock / 48000 + 1},asetpts=PTS-STARTPTS,"
             f"asetrate={clock},aresample=48000,volume={volume}[s];"
             f"anoisesrc=c=white:seed={seed}:r=48000:d={seconds}:a=0.01[q];"
             f"[s][q]amix=inputs=2:normalize=0,aformat=channel_layouts=stereo[a]")
    picture = (["-f", "lavfi", "-i", f"color=c=gray:s=16x16:r=25:d={seconds}", "-map", "0:v",
                "-c:v", "mpeg4", "-g", "250"] if video else [])
    partial = path + ".part" + os.path.splitext(path)[1]
    print(f"  making {os.path.basename(path)} ...", flush=True)
    subprocess.run(["ffmpeg", "-v", "error", "-y", "-filter_complex", sound] + picture +
                   ["-map", "[a]", "-c:a", "aac", "-b:a", "128k", "-t", str(seconds), partial], check=True)
    os.replace(partial, path)
    return path


def make_sound_angles(folder, seconds):
    """Four cameras of one event, each starting at its own moment of it, with its own
    clock (SYNC_CLOCKS), gain and noise, beside a 16x16 video track."""
    os.makedirs(folder, exist_ok=True)
    return [make_sound_file(os.path.join(folder, f"sound-angle{angle}-{seconds}s-clock{clock}.mp4"), seconds,
                            start, clock, 0.3 + 0.25 * angle, 10 + angle, True)
            for angle, (start, clock) in enumerate(zip(SYNC_STARTS, SYNC_CLOCKS))]


def make_sound_recording(folder, seconds):
    """The event as a sound recorder on the desk heard it: sound only, AAC in M4A,
    started SYNC_RECORDING_START seconds in, its clock the event's."""
    return make_sound_file(os.path.join(folder, f"sound-recording-{seconds}s.m4a"), seconds,
                           SYNC_RECORDING_START, 48000, 0.5, 9, False)


def make_camera_media(folder, size="1920x1080", seconds=SECONDS, bitrate="16M"):
    """Four camera-like 25 fps angles: grain that changes every frame, H.264 at
    the bitrate with a GOP of 25, the last one in MPEG-TS."""
    os.makedirs(folder, exist_ok=True)
    kind = "camera" if size == "1920x1080" else f"camera{size}-"
    paths = []
    for angle in range(ANGLES):
        ext = "ts" if angle == ANGLES - 1 else "mp4"
        path = os.path.join(folder, f"{kind}{angle}-{seconds}s.{ext}")
        paths.append(path)
        if os.path.exists(path):
            continue
        source = (f"testsrc2=size={size}:rate=25:duration={seconds},hue=h={angle * 90},"
                  "noise=alls=12:allf=t")
        partial = path + ".part." + ext
        print(f"  making {os.path.basename(path)} ...", flush=True)
        subprocess.run(["ffmpeg", "-v", "error", "-y", "-f", "lavfi", "-i", source, "-c:v", "libx264",
                        "-preset", "veryfast", "-b:v", bitrate, "-maxrate", bitrate, "-bufsize", "32M",
                        "-g", "25", "-bf", "2", "-pix_fmt", "yuv420p", partial], check=True)
        os.replace(partial, path)
    return paths


def clock_ppm(clock):
    return (48000 / clock - 1) * 1e6


def sync_runs(sync, args, env):
    """The fastest of three runs of vistrel-sync (indexes stored): wall time, reading, matching, stdout."""
    runs = []
    for _ in range(3):
        start = time.monotonic()
        done = subprocess.run([sync, "-q", "--timings"] + args, env=env, check=True, capture_output=True, text=True)
        runs.append((time.monotonic() - start, done))
    wall, done = min(runs, key=lambda r: r[0])
    timings = dict(line.split(": ") for line in done.stderr.splitlines() if ": " in line)
    return wall, float(timings["reading the sound"].split()[0]), float(timings["matching"].split()[0]), done.stdout


def ffmpeg_sound_decode_command(paths):
    return (["ffmpeg", "-v", "error", "-threads", "2"] + sum((["-i", p] for p in paths), []) +
            sum((["-map", f"{i}:a"] for i in range(len(paths))), []) + ["-f", "null", "-"])


def ffmpeg_sound_decode(paths):
    return run(ffmpeg_sound_decode_command(paths))


def clocks_found(lines):
    return [float(line.split("clock ")[1].split()[0]) if "clock " in line else None for line in lines]


def bench_sync(build, seconds):
    folder = os.path.join(build, "bench-media")
    paths = make_sound_angles(folder, seconds)
    sync = os.path.join(build, "bin", "vistrel-sync")
    cache = tempfile.mkdtemp(prefix="vistrel-bench-cache-")
    env = dict(os.environ, XDG_CACHE_HOME=cache)
    try:
        first = run([sync, "-q"] + paths, env)
        wall, reading, matching, out = sync_runs(sync, paths, env)
        cpu, peak = usage_of([sync, "-q"] + paths, env)
        decode = ffmpeg_sound_decode(paths)
        # Each angle's time at A's frame 0 (A's clock is the event's); for an
        # angle that started after A, minus A's time at the angle's start.
        expected = [round((SYNC_STARTS[0] - start) * (48000 / clock if start < SYNC_STARTS[0] else 1) * 25)
                    for start, clock in zip(SYNC_STARTS[1:], SYNC_CLOCKS[1:])]
        found = [int(line.split()[2]) for line in out.splitlines()]
        target = 10 if seconds >= 3600 else 2 if seconds >= 600 else None
        print(f"[sync] four angles of {seconds} s, AAC 48 kHz stereo, indexes stored")
        print(f"  first run, indexes built:               {first:7.2f} s")
        print(f"  vistrel-sync, four angles:              {wall:7.2f} s" +
              (f"   (target < {target} s)" if target else ""))
        print(f"  reading the sound (decode, mix, 8 kHz): {reading:7.2f} s   = {reading / (reading + matching):.0%} of the job")
        print(f"  matching:                               {matching:7.2f} s")
        print(f"  ffmpeg, decoding the four sound tracks: {decode:7.2f} s")
        print(f"  ratio reading / ffmpeg decoding:        {reading / decode:7.2f}")
        print(f"  CPU, peak memory:                       {cpu:7.1f} s, {peak:.0f} MiB")
        print(f"  CPU / 2 cores (wall time when idle):    {cpu / 2:7.2f} s")
        print(f"  start frames found / expected:          {found} / {expected}"
              f"   {'ok' if found == expected else 'WRONG'}")
        for line in out.splitlines():
            print("    " + line)
        bench_sync_recording(build, seconds, paths, env)
    finally:
        shutil.rmtree(cache, ignore_errors=True)


def bench_sync_recording(build, seconds, paths, env):
    """The same four angles matched against a sound recording, with their clocks' drift."""
    recording = make_sound_recording(os.path.join(build, "bench-media"), seconds)
    sync = os.path.join(build, "bin", "vistrel-sync")
    args = ["--sound", recording] + paths
    run([sync, "-q"] + args, env)  # the recording's index
    wall, reading, matching, out = sync_runs(sync, args, env)
    cpu, peak = usage_of([sync, "-q"] + args, env)
    decode = ffmpeg_sound_decode([recording] + paths)
    decode_cpu, _ = usage_of(ffmpeg_sound_decode_command([recording] + paths))
    lines = out.splitlines()
    hours = 5 * seconds / 3600
    # The recording starts where the angle that started last does; each angle's
    # start frame is its own time there.
    start = max(SYNC_STARTS) - SYNC_RECORDING_START
    expected = [round((start + SYNC_RECORDING_START - s) * 48000 / clock * 25)
                for s, clock in zip(SYNC_STARTS, SYNC_CLOCKS)]
    found = [int(line.split()[2]) for line in lines[1:]]
    ppm = clocks_found(lines[1:])
    ppm_expected = [clock_ppm(clock) for clock in SYNC_CLOCKS]
    ppm_ok = all(p is not None and abs(p - e) <= 5 for p, e in zip(ppm, ppm_expected))
    target = 10 if seconds >= 3600 else None
    print(f"[sync] the same four angles against a sound recording of {seconds} s (AAC in M4A), indexes stored")
    print(f"  vistrel-sync --sound, five files:       {wall:7.2f} s" +
          (f"   (target < {target} s)" if target else ""))
    print(f"  reading the sound / matching:           {reading:7.2f} s / {matching:.2f} s")
    print(f"  ffmpeg, decoding the five sound tracks: {decode:7.2f} s")
    print(f"  ratio vistrel-sync / ffmpeg decoding:   {wall / decode:7.2f}   (ffmpeg decodes on one core)")
    print(f"  per hour of sound, ours / ffmpeg's:     {wall / hours:7.2f} s / {decode / hours:.2f} s")
    print(f"  CPU ours / ffmpeg decoding:             {cpu:7.1f} s / {decode_cpu:.1f} s = {cpu / decode_cpu:.2f}"
          f"   ({cpu / hours:.2f} s / {decode_cpu / hours:.2f} s per hour of sound)")
    print(f"  CPU / 2 cores (wall time when idle):    {cpu / 2:7.2f} s, peak memory {peak:.0f} MiB")
    print(f"  {lines[0] if lines else 'no recording line'}   (expected {start:.3f} s)")
    print(f"  start frames found / expected:          {found} / {expected}"
          f"   {'ok' if found == expected else 'WRONG'}")
    print(f"  clocks found / expected (ppm):          {ppm} / {[round(e, 1) for e in ppm_expected]}"
          f"   {'within 5 ppm' if ppm_ok else 'WRONG'}")
    for line in lines:
        print("    " + line)


def timed(cmd, env=None):
    """Wall seconds, CPU seconds and stdout of one command."""
    start = time.monotonic()
    done = subprocess.run(["/usr/bin/time", "-f", "%U %S"] + cmd, env=env, check=True,
                          capture_output=True, text=True)
    wall = time.monotonic() - start
    user, system = done.stderr.strip().splitlines()[-1].split()
    return wall, float(user) + float(system), done.stdout


def player_figures(build, script, env, seconds, rate, seeks):
    player = os.path.join(build, "bin", "vistrel-player-bench")
    out = subprocess.run([player, script, str(seconds), str(seeks), str(rate)], env=env, check=True,
                         capture_output=True, text=True).stdout
    return dict(line.split(": ") for line in out.splitlines() if ": " in line)


def bench_proxies(build):
    """The four-angle preview with preview proxies against the same without them,
    and what building a proxy costs against decoding its clip."""
    folder = os.path.join(build, "bench-media")
    paths = make_camera_media(folder)
    script = preview_script(paths, folder, "camera")
    render = os.path.join(build, "bin", "vistrel-render")
    plain_cache = tempfile.mkdtemp(prefix="vistrel-bench-plain-")
    proxy_cache = tempfile.mkdtemp(prefix="vistrel-bench-proxy-")
    plain = dict(os.environ, XDG_CACHE_HOME=plain_cache, QT_QPA_PLATFORM="offscreen")
    proxied = dict(os.environ, XDG_CACHE_HOME=proxy_cache, QT_QPA_PLATFORM="offscreen")
    try:
        run([render, script, "--info"], plain)  # the indexes, outside every figure
        run([render, script, "--info"], proxied)
        print(f"[proxies] four camera-like 1080p25 angles of {SECONDS} s (16 Mbit/s H.264, GOP 25, one in MPEG-TS)")
        floor_wall, floor_cpu, _ = timed(["ffmpeg", "-v", "error", "-threads", "1", "-i", paths[0], "-f", "null", "-"])
        floor2_wall, _, _ = timed(["ffmpeg", "-v", "error", "-threads", "2", "-i", paths[0], "-f", "null", "-"])
        files, walls, cpus = [], [], []
        for path in paths:
            wall, cpu, out = timed([render, "--proxy", path, "-q"], proxied)
            files.append(out.strip())
            walls.append(wall)
            cpus.append(cpu)
        size = sum(os.path.getsize(f) for f in files) / len(files)
        print(f"  proxy build, one clip (mean of {len(paths)}):   {sum(walls) / len(walls):7.2f} s"
              f" = {SECONDS * len(walls) / sum(walls):.2f}x real time, CPU {sum(cpus) / len(cpus):.2f} s")
        print(f"  decode floor, ffmpeg 1 / 2 threads:     {floor_wall:7.2f} s = {SECONDS / floor_wall:.2f}x real time,"
              f" CPU {floor_cpu:.2f} s / {floor2_wall:.2f} s = {SECONDS / floor2_wall:.2f}x")
        print(f"  build / floor (1 thread), wall and CPU: {sum(walls) / len(walls) / floor_wall:7.2f} /"
              f" {sum(cpus) / len(cpus) / floor_cpu:.2f}")
        print(f"  proxy size per hour of footage:         {size * 3600 / SECONDS / 1e6:7.1f} MB")

        play = min(60, SECONDS)
        print(f"  the player, four-angle preview for {play} s, without proxies / with proxies:")
        for rate in (1000, 2000):
            seeks = 40 if rate == 1000 else 0
            without = player_figures(build, script, plain, play * 1000 // rate, rate, seeks)
            with_proxies = player_figures(build, script, proxied, play * 1000 // rate, rate, seeks)
            print(f"    rate {rate}: frames dropped           {int(without['frames_dropped']):7d} /"
                  f" {int(with_proxies['frames_dropped'])}   (of {int(with_proxies['frames_shown'])} shown with proxies)")
            cpu_without = float(without["cpu_seconds_per_video_second"])
            cpu_with = float(with_proxies["cpu_seconds_per_video_second"])
            print(f"    rate {rate}: CPU per video second      {cpu_without:7.3f} / {cpu_with:.3f} s"
                  f" = {cpu_with / cpu_without:.3f}   (target <= 0.1)")
            if seeks:
                for key in ("seek_median_ms", "seek_p95_ms", "seek_playing_median_ms", "seek_playing_p95_ms",
                            "seek_longest_window_stall_ms", "peak_memory_mib"):
                    print(f"    rate {rate}: {key:27s}{float(without[key]):7.1f} / {float(with_proxies[key]):.1f}")
    finally:
        shutil.rmtree(plain_cache, ignore_errors=True)
        shutil.rmtree(proxy_cache, ignore_errors=True)


def bench_4k_proxies(build):
    """Four 4K angles of 30 s: the four-angle preview before and once their proxies exist."""
    folder = os.path.join(build, "bench-media")
    paths = make_camera_media(folder, "3840x2160", 30, "40M")
    script = preview_script(paths, folder, "camera-4k")
    render = os.path.join(build, "bin", "vistrel-render")
    cache = tempfile.mkdtemp(prefix="vistrel-bench-4k-")
    env = dict(os.environ, XDG_CACHE_HOME=cache, QT_QPA_PLATFORM="offscreen")
    try:
        run([render, script, "--info"], env)
        without = player_figures(build, script, env, 30, 1000, 0)
        build_time = sum(run([render, "--proxy", path, "-q"], env) for path in paths)
        with_proxies = player_figures(build, script, env, 30, 1000, 0)
        print("[4K proxies] four 3840x2160 H.264 angles of 30 s, the preview at rate 1000 for 30 s")
        print(f"  proxies built, four clips:              {build_time:7.1f} s")
        for name, figures in (("without proxies", without), ("with proxies", with_proxies)):
            print(f"  {name:16s} shown {int(figures['frames_shown']):4d}, dropped {int(figures['frames_dropped']):4d},"
                  f" CPU per video second {float(figures['cpu_seconds_per_video_second']):.3f},"
                  f" peak {float(figures['peak_memory_mib']):.0f} MiB")
    finally:
        shutil.rmtree(cache, ignore_errors=True)


def make_hour_clips(folder, seconds=3600):
    """Four 25 fps angles of an hour, cheaply: a minute of 320x240 H.264 at
    1 Mbit/s, its packets repeated (about 450 MB each)."""
    os.makedirs(folder, exist_ok=True)
    paths = []
    for angle in range(ANGLES):
        path = os.path.join(folder, f"hour{angle}-{seconds}s.mp4")
        paths.append(path)
        if os.path.exists(path):
            continue
        minute = path + ".minute.mp4"
        partial = path + ".part.mp4"
        print(f"  making {os.path.basename(path)} ...", flush=True)
        subprocess.run(["ffmpeg", "-v", "error", "-y", "-f", "lavfi", "-i",
                        f"testsrc2=size=320x240:rate=25:duration=60,hue=h={angle * 90},noise=alls=12:allf=t",
                        "-c:v", "libx264", "-preset", "veryfast", "-b:v", "1M", "-g", "25", "-pix_fmt", "yuv420p",
                        minute], check=True)
        subprocess.run(["ffmpeg", "-v", "error", "-y", "-stream_loop", str(seconds // 60 - 1), "-i", minute,
                        "-c", "copy", partial], check=True)
        os.remove(minute)
        os.replace(partial, path)
    return paths


def bench_identity(build):
    """The check that a proxy was made from the clip as it is now (its size,
    time and a digest of its first and last MiB) when the four-angle preview
    of one-hour clips is opened, against opening that preview."""
    folder = os.path.join(build, "bench-media")
    paths = make_hour_clips(folder)
    script = preview_script(paths, folder, "hour")
    render = os.path.join(build, "bin", "vistrel-render")
    # Kept with the clips: their indexes and proxies (ten minutes to make) stay valid while the clips do.
    env = dict(os.environ, XDG_CACHE_HOME=os.path.join(folder, "hour-cache"), QT_QPA_PLATFORM="offscreen")
    run([render, script, "--info"], env)
    for path in paths:
        run([render, "--proxy", path, "-q"], env)
    out = subprocess.run([os.path.join(build, "bin", "vistrel-proxy-open-bench"), script] + paths, env=env,
                         check=True, capture_output=True, text=True).stdout
    f = {key: float(value) for key, value in (line.split(": ") for line in out.splitlines() if ": " in line)}
    size = sum(os.path.getsize(p) for p in paths) / len(paths) / 1e6
    print(f"[identity] four one-hour angles ({size:.0f} MB each), proxies and indexes stored, median of 7")
    print("                                          warm cache / cold (clips and cache dropped)")
    for key, what in (("stat_identity", "size and time of the four clips"),
                      ("contents_identity", "the same and the digests (4 x 2 MiB)"),
                      ("open_with_proxies", "preview open + first frame, proxies"),
                      ("open_without_proxies", "the same without proxies")):
        print(f"  {what:40s}{f['warm_' + key + '_ms']:8.2f} / {f['cold_' + key + '_ms']:.2f} ms")
    for state in ("warm", "cold"):
        digest = f[f"{state}_contents_identity_ms"] - f[f"{state}_stat_identity_ms"]
        print(f"  {state}: digests / open with proxies:     {digest / f[f'{state}_open_with_proxies_ms']:8.3f}"
              f"   / open without proxies: {digest / f[f'{state}_open_without_proxies_ms']:.3f}")


def make_recording(folder, extension, seconds):
    """A sound recorder's file: pink noise, 48 kHz stereo, as WAV or FLAC."""
    path = os.path.join(folder, f"recording-{seconds}s.{extension}")
    if not os.path.exists(path):
        partial = path + ".part." + extension
        print(f"  making {os.path.basename(path)} ...", flush=True)
        subprocess.run(["ffmpeg", "-v", "error", "-y", "-f", "lavfi", "-i",
                        f"anoisesrc=c=pink:r=48000:d={seconds}:a=0.3", "-ac", "2", partial], check=True)
        os.replace(partial, path)
    return path


def edit_script(paths, audio_line, folder, name):
    """An edit of two angles as the editor writes it: angle A from frame 25,
    a switch every 150 frames, crossfades of 20 frames, fades in and out."""
    starts = [25, 0]
    frames = SECONDS * 25 - starts[0]
    points = list(range(0, frames - 150, 150))
    lines = ["overlap=20", audio_line]
    for a, path in enumerate(paths):
        letter = "AB"[a]
        lines += [f"#-=-=-=-=-=-=-=-=-=angle {letter}=-=-=-=-=-=-=-=-=-=-=-",
                  f'angle{letter}=avisource("{path}").killaudio().trim({starts[a]},0)', ""]
        for i, point in enumerate(points):
            start = 0 if i == 0 else point - 20 + 1
            end = points[i + 1] if i + 1 < len(points) else 0
            lines.append(f"{letter}{i}=angle{letter}.trim({start},{end})")
    lines.append("#-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=")
    chosen = "".join(f"{'AB'[i % 2]}{i}, " for i in range(len(points)))
    lines += [f"video=dissolve({chosen}overlap)", "audiodub(video,audio)", "fadein(overlap)", "fadeout(overlap)"]
    script = os.path.join(folder, f"edit-{name}-{SECONDS}s.avs")
    with open(script, "w", newline="") as f:
        f.write("\r\n".join(lines) + "\r\n")
    return script


def bench_recording(build):
    """The render of an edit with a sound recording under it (WAV, FLAC)
    against the same edit with angle A's sound, run in turns in one run."""
    folder = os.path.join(build, "bench-media")
    paths = make_media(folder, "h264", angles=2, sound=True)
    wav = make_recording(folder, "wav", SECONDS + 30)
    flac = make_recording(folder, "flac", SECONDS + 30)
    sounds = {
        "angle A's sound": f'audio=avisource("{paths[0]}").trim(25,0)',
        "WAV recording": f'audio=wavsource("{wav}").delayaudio(-12.345)',
        "FLAC recording": f'audio=ffaudiosource("{flac}").delayaudio(-12.345)',
    }
    scripts = {name: edit_script(paths, line, folder, name.split()[0].lower()) for name, line in sounds.items()}
    # The sound alone, under a tiny blank picture as long as the edit: what it adds to a render at most.
    alone = {}
    for name, line in sounds.items():
        alone[name] = os.path.join(folder, f"sound-{name.split()[0].lower()}-{SECONDS}s.avs")
        with open(alone[name], "w", newline="") as f:
            f.write(f"{line}\r\nblankclip(length={SECONDS * 25 - 25},width=16,height=16,fps=25)"
                    ".killaudio().audiodub(audio)\r\n")
    render = os.path.join(build, "bin", "vistrel-render")
    cache = tempfile.mkdtemp(prefix="vistrel-bench-cache-")
    out = tempfile.mkdtemp(prefix="vistrel-bench-render-")
    env = dict(os.environ, XDG_CACHE_HOME=cache, QT_QPA_PLATFORM="offscreen")
    try:
        for script in list(scripts.values()) + list(alone.values()):
            run([render, script, "--info"], env)  # the indexes, outside every figure
        print(f"[recording] edit of two 1080p25 H.264 angles of {SECONDS} s, a cut every 150 frames, fades;"
              " the three renders in turns, the best of each (CPU seconds are steadier on a shared machine)")
        for kind, turns in (("--null", 5), ("-o edit.mp4", 2)):
            target = ["--null"] if kind == "--null" else ["-o", os.path.join(out, "edit.mp4")]
            wall = {name: float("inf") for name in scripts}
            cpu = dict(wall)
            for _ in range(turns):
                for name, script in scripts.items():
                    seconds, cpu_seconds, _ = timed([render, script, "-q"] + target, env)
                    wall[name] = min(wall[name], seconds)
                    cpu[name] = min(cpu[name], cpu_seconds)
            reference = "angle A's sound"
            print(f"  vistrel-render {kind}, wall / CPU seconds:")
            for name in scripts:
                line = f"    {name:16s} {wall[name]:7.2f} / {cpu[name]:7.2f} s"
                if name != reference:
                    line += (f"   ratio {wall[name] / wall[reference]:.3f} /"
                             f" {cpu[name] / cpu[reference]:.3f}   (target <= 1.05)")
                print(line)
        print("  the sound alone under a 16x16 blank picture, --null, best CPU seconds of 5:")
        for name, script in alone.items():
            print(f"    {name:16s} {min(timed([render, script, '-q', '--null'], env)[1] for _ in range(5)):7.2f} s")
    finally:
        shutil.rmtree(cache, ignore_errors=True)
        shutil.rmtree(out, ignore_errors=True)


def main():
    build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build")
    chosen = sys.argv[2:] or ["h264", "mjpeg", "conformed", "sync", "proxies", "4k", "identity", "recording"]
    for codec in ("h264", "mjpeg"):
        if codec in chosen:
            bench_codec(build, codec)
    if "conformed" in chosen:
        bench_conformed(build)
    if "sync" in chosen:
        for seconds in SYNC_SECONDS:
            bench_sync(build, seconds)
    if "proxies" in chosen:
        bench_proxies(build)
    if "4k" in chosen:
        bench_4k_proxies(build)
    if "identity" in chosen:
        bench_identity(build)
    if "recording" in chosen:
        bench_recording(build)


if __name__ == "__main__":
    main()
