// The tutorial lesson in headless chromium by real input events: see
// scripts/web-lesson.sh, which gives the lesson on standard input (one action a
// line) and the page's address, the screenshot folder, the zoom and the places of
// the first screens' Done buttons as arguments. DPR=N sets the device's pixel ratio.
'use strict';
const fs = require('fs');
const puppeteer = require('puppeteer-core');
const [url, out, zoom, helpDone, messageDone] = process.argv.slice(2);
const lines = fs.readFileSync(0, 'utf8').split('\n').filter((l) => l.trim());
const sleep = (ms) => new Promise((r) => setTimeout(r, ms));

(async () => {
  const browser = await puppeteer.launch({ executablePath: '/usr/bin/chromium', headless: true, args: ['--no-sandbox'] });
  let failed = null;
  try {
    const page = await browser.newPage();
    const dpr = Number(process.env.DPR || 1), k = Number(zoom);
    await page.setViewport({ width: Math.ceil(640 * k / dpr) + 20, height: Math.ceil(480 * k / dpr) + 40, deviceScaleFactor: dpr });
    page.on('pageerror', (e) => { if (!/ExitStatus/.test(e.message)) failed = 'page error: ' + e.message; });
    await page.goto(url);
    await page.waitForFunction(() => document.getElementById('status').textContent === '');
    // The page's point of the middle of screen pixel (x, y).
    const point = async (x, y) => {
      const r = await page.evaluate(() => { const b = Module.canvas.getBoundingClientRect(); return [b.left, b.top, b.width]; });
      return [r[0] + (Number(x) + 0.5) * r[2] / 640, r[1] + (Number(y) + 0.5) * r[2] / 640];
    };
    const hash = (x, y, w, h) => page.evaluate((x, y, w, h) => {
      const d = Module.canvas.getContext('2d').getImageData(x, y, w, h).data;
      let s = 0;
      for (let i = 0; i < d.length; ++i) s = (s * 31 + d[i]) | 0;
      return s;
    }, x, y, w, h);
    const message = () => hash(0, 439, 640, 41);  // the message bar: the stage's instruction
    // Until the screen has not changed for 300 ms.
    const settle = async () => {
      let last = await hash(0, 0, 640, 480);
      for (let quiet = 0, n = 0; quiet < 3 && n < 200; ++n) {
        await sleep(100);
        const now = await hash(0, 0, 640, 480);
        quiet = now === last ? quiet + 1 : 0;
        last = now;
      }
    };
    const act = async (words) => {
      const [verb, ...a] = words;
      if (verb === 'click') {
        await page.mouse.click(...await point(a[0], a[1]));
      } else if (verb === 'drag') {
        await page.mouse.move(...await point(a[0], a[1]));
        await page.mouse.down();
        await page.mouse.move(...await point(a[2], a[3]), { steps: 10 });
        await page.mouse.up();
      } else if (verb === 'type') {
        for (const c of a.join(' ')) { await page.keyboard.type(c); await sleep(100); }
      } else if (verb === 'key') {
        await page.keyboard.press(a[0]);
      } else if (verb === 'until') {
        const before = await message();
        for (let n = 0; n < Number(a[0]); ++n) {
          await act(a.slice(1));
          await settle();
          if (await message() !== before) return;
        }
      } else {
        throw new Error('no such action: ' + verb);
      }
      await sleep(150);
    };

    await act(['click', ...helpDone.split(' ')]);
    await act(['click', ...messageDone.split(' ')]);
    await settle();
    let before = await message(), n = 0;
    for (const line of lines) {
      const words = line.trim().split(/\s+/);
      if (words[0] !== 'stage') { await act(words); continue; }
      await settle();
      const name = `${String(++n).padStart(2, '0')}-${words[1]}.png`;
      const png = await page.evaluate(() => Module.canvas.toDataURL());
      fs.writeFileSync(`${out}/${name}`, Buffer.from(png.split(',')[1], 'base64'));
      const now = await message();
      console.log(`${name}${now === before ? '  THE STAGE DID NOT MOVE ON' : ''}`);
      if (now === before) { failed = `stage ${words[1]} did not move on`; break; }
      before = now;
      if (failed) break;
    }
  } finally {
    await browser.close();
  }
  if (failed) { console.log('FAILED: ' + failed); process.exit(1); }
  console.log(`the whole lesson done; the screenshots are in ${out}`);
})().catch((e) => { console.error(e); process.exit(1); });
