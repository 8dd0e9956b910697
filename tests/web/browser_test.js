// Drives Debian's chromium (headless) through the page's test hook: see
// web_page_test.sh. Arguments: the page's address, the folder with the scripts and
// the native screenshots, and the screen position of the intro's Done button.
'use strict';
const fs = require('fs');
const puppeteer = require('puppeteer-core');
const [url, work, introDone] = process.argv.slice(2);
const failures = [];
const check = (ok, what) => { if (!ok) failures.push(what); };

// Runs a script through the hook and waits until the program has ended.
async function replay(page, script, reload) {
  if (reload) await page.reload();  // the same address: going there would not load again
  else await page.goto(url + '#test');
  await page.waitForFunction(() => window.demovarTest && window.demovarTest.start);
  await page.evaluate((s) => window.demovarTest.start(s), fs.readFileSync(`${work}/${script}.txt`, 'utf8'));
  await page.waitForFunction(() => window.demovarTest.ended, { timeout: 120000 });
}

// The number of pixels in which the checkpoint differs from the native screenshot.
async function compare(page, name) {
  const png = fs.readFileSync(`${work}/${name}.png`).toString('base64');
  return page.evaluate(async (name, png) => {
    const shot = window.demovarTest.checkpoints[name];
    if (!shot) return -1;
    const picture = await createImageBitmap(await (await fetch('data:image/png;base64,' + png)).blob());
    const c = new OffscreenCanvas(640, 480).getContext('2d');
    c.drawImage(picture, 0, 0);
    const native = c.getImageData(0, 0, 640, 480).data;
    let differ = 0;
    for (let i = 0; i < native.length; i += 4)
      if (native[i] !== shot[i] || native[i + 1] !== shot[i + 1] || native[i + 2] !== shot[i + 2]) ++differ;
    return differ;
  }, name, png);
}

async function clickAt(page, where) {
  const [x, y] = where.split(' ').map(Number), k = await page.evaluate(() => Module.canvas.clientWidth / 640);
  await page.click('#screen', { offset: { x: (x + 0.5) * k, y: (y + 0.5) * k } });
}

(async () => {
  const browser = await puppeteer.launch({
    executablePath: '/usr/bin/chromium', headless: true,
    args: ['--no-sandbox', '--autoplay-policy=no-user-gesture-required'],
  });
  try {
    const downloads = await browser.target().createCDPSession();
    await downloads.send('Browser.setDownloadBehavior', { behavior: 'allow', downloadPath: `${work}/downloads` });
    const page = await browser.newPage();
    await page.setViewport({ width: 1000, height: 800 });
    // The program's end unwinds with Emscripten's ExitStatus: not an error.
    page.on('pageerror', (e) => { if (!/ExitStatus/.test(e.message)) failures.push('page error: ' + e.message); });

    // The same sessions as the native program's, pixel for pixel; the second after
    // a reload, loading what the first saved.
    await replay(page, 'first');
    for (const name of ['intro', 'panes', 'runs', 'dialog']) {
      const differ = await compare(page, name);
      console.log(`checkpoint ${name}: ${differ} pixels differ from the native screen`);
      check(differ === 0, `checkpoint ${name}`);
    }
    for (const name of ['vkshot00.bmp', 'webtable.csv']) {
      const got = `${work}/downloads/${name}`;
      for (let n = 0; n < 20 && !fs.existsSync(got); ++n) await new Promise((r) => setTimeout(r, 100));
      check(fs.existsSync(got) && fs.readFileSync(got).equals(fs.readFileSync(`${work}/${name}`)), `${name} as a download`);
    }
    await replay(page, 'second', true);
    const differ = await compare(page, 'loaded');
    console.log(`the save loaded back after a reload: ${differ} pixels differ`);
    check(differ === 0, 'the save loaded back after a reload');

    // Real keys and the mouse, the first frame and the tab at rest.
    await page.goto(url);
    await page.waitForFunction(() => document.getElementById('status').textContent === '');
    const first = await page.evaluate(() => window.demovarTest.firstFrame);
    console.log(`first frame: ${Math.round(first)} ms after navigation (budget 2000 ms)`);
    const picture = () => page.evaluate(() => Module.canvas.toDataURL());
    const before = await picture();
    await page.keyboard.press('Escape');  // closes the first help text
    await new Promise((r) => setTimeout(r, 300));
    check(await picture() !== before, 'Escape closes the help text');
    await clickAt(page, introDone);
    const keys = ['Enter', 'Tab', 'Backspace', 'ArrowLeft', 'ArrowRight', 'ArrowUp', 'ArrowDown',
      'PageUp', 'PageDown', 'F1', 'Escape', 'a', 'Z', '7', ' '];
    for (const k of keys) await page.keyboard.press(k);
    await page.keyboard.down('Control');
    await page.keyboard.press('KeyE');
    await page.keyboard.up('Control');
    const seen = await page.evaluate(() => window.demovarTest.keysSeen);
    const want = [27, 13, 9, 8, 28, 29, 30, 31, 30, 31, 0, 27, 'a', 'Z', '7', ' ', 5];
    console.log('keys that reached the program:', JSON.stringify(seen));
    check(JSON.stringify(seen) === JSON.stringify(want), 'the keys reach the program');
    check(await page.evaluate(() => window.scrollY === 0 && document.scrollingElement.scrollTop === 0), 'no scrolling');
    await page.keyboard.press('Escape');  // the help that F1 opened
    // The tab's own work (its main thread's tasks), in seconds.
    const cdp = await page.target().createCDPSession();
    await cdp.send('Performance.enable');
    const busy = async () => (await cdp.send('Performance.getMetrics')).metrics.find((m) => m.name === 'TaskDuration').value;
    await new Promise((r) => setTimeout(r, 3000));  // the help closing settles
    const [start, waits] = [await busy(), await page.evaluate(() => window.demovarTest.waits)];
    await new Promise((r) => setTimeout(r, 20000));
    const idle = (await busy() - start) / 20 * 100;
    const woke = await page.evaluate(() => window.demovarTest.waits) - waits;
    console.log(`idle tab: ${idle.toFixed(3)} % of a core over 20 s, the program woke ${woke} times (budget: well under 1 %)`);
    check(idle < 1 && woke === 0, 'the idle tab rests');
    // Control-Q ends the program, and the page says so at once.
    await page.keyboard.down('Control');
    await page.keyboard.press('KeyQ');
    await page.keyboard.up('Control');
    const shown = () => getComputedStyle(document.getElementById('ended')).display === 'flex';
    check(await page.waitForFunction(shown, { timeout: 1000 }).then(() => true, () => false), 'Control-Q ends at once');
  } finally {
    await browser.close();
  }
  if (failures.length) {
    console.log('FAILED: ' + failures.join('; '));
    process.exit(1);
  }
  console.log('all checks passed');
})().catch((e) => { console.error(e); process.exit(1); });
