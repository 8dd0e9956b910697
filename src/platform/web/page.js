// The page around the program (built by Emscripten into varnock.js): the canvas
// and its scaling, the full-screen button, mouse and keys turned into the
// program's events, the bell, the working folder kept in the browser's storage
// with downloads of what the program writes, and the hook the browser test uses.
// The C++ side is src/platform/browser.cpp; it calls Module.page.
'use strict';

var Module = (function () {
  const W = 640, H = 480;
  const canvas = document.getElementById('screen');
  const context = canvas.getContext('2d');
  const status = document.getElementById('status');
  const input = [];   // [kind, key, x, y, text]: kinds as in browser.cpp
  let wake = null;    // resolves the program's wait
  let audio = null;

  // --- The picture: the largest whole factor of device pixels that fits. ----------
  function fit() {
    const stage = canvas.parentElement, dpr = window.devicePixelRatio || 1;
    const k = Math.max(1, Math.floor(Math.min(stage.clientWidth * dpr / W, stage.clientHeight * dpr / H)));
    canvas.style.width = (W * k / dpr) + 'px';
    canvas.style.height = (H * k / dpr) + 'px';
  }
  window.addEventListener('resize', fit);
  document.addEventListener('fullscreenchange', fit);
  document.getElementById('fullscreen').addEventListener('click', () => {
    if (document.fullscreenElement) document.exitFullscreen();
    else document.documentElement.requestFullscreen().catch(() => {});
    canvas.focus();
  });
  fit();

  function post(e) {
    input.push(e);
    if (wake) wake();
  }

  // --- The mouse: the left button, and its motion also outside the canvas while held.
  let held = false;
  function at(e) {
    const r = canvas.getBoundingClientRect();
    const x = Math.floor((e.clientX - r.left) * W / r.width), y = Math.floor((e.clientY - r.top) * H / r.height);
    return [Math.min(Math.max(x, 0), W - 1), Math.min(Math.max(y, 0), H - 1)];
  }
  canvas.addEventListener('mousedown', (e) => {
    if (e.button !== 0) return;
    e.preventDefault();
    canvas.focus();
    startAudio();
    held = true;
    post([1, 0, ...at(e)]);
  });
  window.addEventListener('mouseup', (e) => {
    if (e.button !== 0 || !held) return;
    held = false;
    post([2, 0, ...at(e)]);
  });
  window.addEventListener('mousemove', (e) => {
    if (held || e.target === canvas) post([0, 0, ...at(e)]);
  });
  canvas.addEventListener('contextmenu', (e) => e.preventDefault());

  // --- Keys, with the rules of the SDL window (sdl_keys.cpp). -----------------------
  const named = {
    F1: 0, PageUp: 30, PageDown: 31, Backspace: 8, Delete: 8, Tab: 9, Enter: 13,
    Escape: 27, ArrowLeft: 28, ArrowRight: 29, ArrowUp: 30, ArrowDown: 31,
  };
  // Returns the key code, or -1 when the key is typed text or no key of the program.
  function code(e) {
    const ctrl = e.ctrlKey && !e.altKey;
    if (ctrl && e.key === 'Backspace') return 127;
    if (ctrl && e.key === 'Enter') return 10;
    if (ctrl && e.code === 'BracketLeft') return 27;
    if (e.key in named) return named[e.key];
    if (ctrl && /^Key[A-Z]$/.test(e.code)) return e.code.charCodeAt(3) - 64;
    return -1;
  }
  const keysSeen = [];  // what reached the program, for the browser test
  window.addEventListener('keydown', (e) => {
    if (ended) return;
    startAudio();
    const k = code(e);
    // Left Alt with a key is a command, not a character; AltGr types.
    const text = e.key.length === 1 || (e.key.length === 2 && e.key.codePointAt(0) > 0xffff);
    const withheld = (e.altKey && !e.ctrlKey && !e.getModifierState('AltGraph')) || e.metaKey;
    if (k >= 0) post([3, k, 0, 0]), keysSeen.push(k);
    else if (text && !withheld && !(e.ctrlKey && !e.altKey)) post([4, 0, 0, 0, e.key]), keysSeen.push(e.key);
    else return;
    e.preventDefault();  // no scrolling on arrows and space, no browser help on F1
  });

  // --- The bell: a 90 ms tone of 880 Hz with soft edges, as the window's. ----------
  function startAudio() {
    if (audio || !window.AudioContext) return;
    audio = new AudioContext();
  }
  function bell() {
    if (!audio) return;
    const t = audio.currentTime, osc = audio.createOscillator(), gain = audio.createGain();
    osc.frequency.value = 880;
    gain.gain.setValueAtTime(0, t);
    gain.gain.linearRampToValueAtTime(0.25, t + 0.005);
    gain.gain.setValueAtTime(0.25, t + 0.085);
    gain.gain.linearRampToValueAtTime(0, t + 0.09);
    osc.connect(gain).connect(audio.destination);
    osc.start(t);
    osc.stop(t + 0.1);
  }

  // --- Files. The program works in /data, where the data directory is unpacked;
  // what it writes there is copied after every completed action into /store, a
  // folder kept in IndexedDB, and /store is copied back before the next start.
  const DATA = '/data', STORE = '/store';
  let shipped = new Set(), known = new Map(), syncing = false, again = false, ready = false;
  const offered = /\.(bmp|ps|eps|gif|csv)$/i;  // dumps and exports also come as downloads
  function files(dir) {
    return FS.readdir(dir).filter((n) => n !== '.' && n !== '..' && FS.isFile(FS.stat(dir + '/' + n).mode));
  }
  function sync() {
    if (syncing) { again = true; return; }
    syncing = true;
    FS.syncfs(false, (err) => {
      syncing = false;
      if (err) status.textContent = 'Your files could not be kept in this browser: ' + err;
      if (again) { again = false; sync(); }
    });
  }
  function download(path) {
    const url = URL.createObjectURL(new Blob([FS.readFile(path.startsWith('/') ? path : DATA + '/' + path)]));
    const a = document.createElement('a'), name = path.replace(/.*\//, '');
    a.href = url;
    a.download = name;
    document.body.appendChild(a);
    a.click();
    a.remove();
    setTimeout(() => URL.revokeObjectURL(url), 60000);
    status.textContent = name + ' is offered as a download.';
  }
  // Never throws: the program must go on even when a file cannot be kept.
  function persist() {
    if (!ready) return;
    try {
      keep();
    } catch (e) {
      status.textContent = 'A file could not be kept in this browser (error ' + e.errno + ').';
    }
  }
  function keep() {
    let changed = false;
    const now = new Set();
    for (const name of files(DATA)) {
      if (shipped.has(name) || name.endsWith('.log')) continue;
      now.add(name);
      const st = FS.stat(DATA + '/' + name), stamp = st.mtime.getTime() + ':' + st.size;
      if (known.get(name) === stamp) continue;
      known.set(name, stamp);
      FS.writeFile(STORE + '/' + name, FS.readFile(DATA + '/' + name));
      changed = true;
      if (offered.test(name)) download(name);
    }
    for (const name of known.keys()) {
      if (now.has(name)) continue;
      known.delete(name);
      try { FS.unlink(STORE + '/' + name); } catch (e) {}
      changed = true;
    }
    if (changed) sync();
  }

  // --- The test hook: "#test" waits for a script (see browser.cpp); the test also
  // reads the first frame's time and the keys that reached the program.
  const testing = location.hash === '#test';
  const test = window.demovarTest = { checkpoints: {}, keysSeen, ended: false, firstFrame: 0, waits: 0, start: null };

  let ended = false, presented = false;
  const page = {
    testScript: null,
    present(heap, pointer) {
      context.putImageData(new ImageData(new Uint8ClampedArray(heap.buffer, pointer, W * H * 4), W, H), 0, 0);
      if (!presented) {
        presented = true;
        test.firstFrame = performance.now();  // from the navigation
        status.textContent = '';
      }
    },
    takeInput() { return input.shift(); },
    wait(ms) {
      ++test.waits;
      if (input.length) return Promise.resolve();
      return new Promise((resolve) => {
        let timer = null;
        wake = () => { wake = null; if (timer !== null) clearTimeout(timer); resolve(); };
        if (ms >= 0) timer = setTimeout(wake, ms);
      });
    },
    bell,
    persist,
    offer(path) {
      try { download(path); return 1; } catch (e) { return 0; }
    },
    // A file from the user's computer into the working folder, under its own name
    // made safe; '' when none was picked.
    receive() {
      return new Promise((resolve) => {
        const chooser = document.createElement('input');
        chooser.type = 'file';
        chooser.accept = '.sav';
        chooser.addEventListener('cancel', () => resolve(''));
        chooser.addEventListener('change', async () => {
          const file = chooser.files[0];
          if (!file) return resolve('');
          const name = file.name.replace(/[^A-Za-z0-9_.-]/g, '_').slice(-60);
          FS.writeFile(DATA + '/' + name, new Uint8Array(await file.arrayBuffer()));
          resolve(name);
        });
        chooser.click();
      });
    },
    ended(why) {
      ended = true;
      if (why) status.textContent = why;
      test.ended = true;
      persist();
      document.getElementById('ended').style.display = 'flex';
    },
    checkpoint(name) {
      test.checkpoints[name] = context.getImageData(0, 0, W, H).data;
    },
  };

  // The program's exit unwinds its stack with an exception: the end, not an error.
  const quietExit = (e) => { if (ended && /ExitStatus/.test(String(e.reason || e.error || e.message))) e.preventDefault(); };
  window.addEventListener('error', quietExit);
  window.addEventListener('unhandledrejection', quietExit);

  return {
    page,
    canvas,
    preRun: [() => {
      FS.mkdir(STORE);
      FS.mount(IDBFS, {}, STORE);
      addRunDependency('store');
      FS.syncfs(true, (err) => {
        if (err) status.textContent = 'Earlier files could not be read from this browser: ' + err;
        removeRunDependency('store');
      });
      if (testing) {
        addRunDependency('test script');
        test.start = (script) => { page.testScript = script; removeRunDependency('test script'); };
      }
    }],
    onRuntimeInitialized() {
      // The shipped files are the data directory's; the rest come from the store.
      shipped = new Set(files(DATA));
      for (const name of files(STORE)) {
        // With its time: File, Load lists the newest first.
        const st = FS.stat(STORE + '/' + name);
        FS.writeFile(DATA + '/' + name, FS.readFile(STORE + '/' + name));
        FS.utime(DATA + '/' + name, st.mtime.getTime(), st.mtime.getTime());
        known.set(name, st.mtime.getTime() + ':' + st.size);
      }
      FS.chdir(DATA);
      ready = true;
      canvas.focus();
    },
    print: (text) => console.log(text),
    printErr: (text) => console.warn(text),
  };
})();
