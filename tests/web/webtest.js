// The page in headless Chromium, driven over the DevTools protocol (node
// talks to the browser over --remote-debugging-pipe: no extra package).
// Checks what a player of the page gets: the loading screen, then play;
// arrows move the ship and SPACE fires; focus loss pauses; the best survives
// a reload, and a page without storage still plays; a gamepad steers, fires
// and pauses; every golden demo ends
// on its desktop summary line; and no console error on the way.
//   node tests/web/webtest.js SITE_DIR     (WEB_SHOTS=DIR keeps the screenshots)
'use strict';
const { spawn, execFileSync } = require('child_process');
const fs = require('fs');
const os = require('os');
const path = require('path');

const site = path.resolve(process.argv[2] || 'build-web/site');
const source = path.resolve(__dirname, '../..');
const work = fs.mkdtempSync(path.join(os.tmpdir(), 'driftwing-web-'));
let failures = 0;
const ok = (what) => console.log('ok: ' + what);
const fail = (what) => { console.log('FAIL: ' + what); failures++; };
const sleep = (ms) => new Promise((r) => setTimeout(r, ms));

// Waits for probe() to give something truthy, for up to `seconds`; a busy
// machine gets the whole ceiling, a fast one never waits for it.
async function waitFor(probe, seconds) {
  const end = Date.now() + seconds * 1000;
  for (;;) {
    const got = await probe();
    if (got || Date.now() > end)
      return got;
    await sleep(100);
  }
}

// ---- the server and the browser -------------------------------------------

function startServer() {
  const server = spawn(process.execPath, [path.join(source, 'tools/web/serve.js'), site, '0'],
                       { stdio: ['ignore', 'pipe', 'inherit'] });
  return new Promise((resolve, reject) => {
    let text = '';
    server.stdout.on('data', (d) => {
      text += d;
      const m = /serving (http:\S+)/.exec(text);
      if (m)
        resolve({ server, url: m[1] });
    });
    server.on('exit', () => reject(new Error('the server stopped')));
  });
}

function startBrowser(profile) {
  const args = ['--headless', '--no-sandbox', '--remote-debugging-pipe', '--user-data-dir=' + profile,
                '--no-first-run', '--no-default-browser-check', '--mute-audio',
                '--enable-unsafe-swiftshader', '--window-size=640,480', 'about:blank'];
  const browser = spawn('chromium', args, { stdio: ['ignore', 'ignore', 'pipe', 'pipe', 'pipe'] });
  browser.stderr.on('data', () => {});
  let nextId = 1, buffer = '';
  const waiting = new Map(), listeners = [];
  browser.stdio[4].on('data', (chunk) => {
    buffer += chunk;
    let end;
    while ((end = buffer.indexOf('\0')) >= 0) {
      const msg = JSON.parse(buffer.slice(0, end));
      buffer = buffer.slice(end + 1);
      if (msg.id && waiting.has(msg.id)) {
        const { resolve, reject } = waiting.get(msg.id);
        waiting.delete(msg.id);
        msg.error ? reject(new Error(JSON.stringify(msg.error))) : resolve(msg.result);
      } else if (msg.method) {
        listeners.forEach((l) => l(msg));
      }
    }
  });
  // A browser that goes away, or a command it never answers, fails the test
  // instead of leaving it waiting.
  browser.on('exit', (code, signal) => {
    for (const { reject } of waiting.values())
      reject(new Error(`the browser ended (${signal || code})`));
    waiting.clear();
  });
  const send = (method, params = {}, sessionId) => new Promise((resolve, reject) => {
    const id = nextId++;
    const timer = setTimeout(() => {
      waiting.delete(id);
      reject(new Error(method + ': no answer in 120 s'));
    }, 120000);
    waiting.set(id, { resolve: (r) => { clearTimeout(timer); resolve(r); },
                      reject: (e) => { clearTimeout(timer); reject(e); } });
    browser.stdio[3].write(JSON.stringify({ id, method, params, sessionId }) + '\0');
  });
  return { browser, send, listeners };
}

// One tab of the browser, with what its console said.
async function openTab(b) {
  const { targetId } = await b.send('Target.createTarget', { url: 'about:blank' });
  const { sessionId } = await b.send('Target.attachToTarget', { targetId, flatten: true });
  const tab = { sessionId, lines: [], errors: [] };
  tab.send = (method, params) => b.send(method, params, sessionId);
  b.listeners.push((msg) => {
    if (msg.sessionId !== sessionId)
      return;
    const p = msg.params;
    if (msg.method === 'Runtime.consoleAPICalled') {
      const text = p.args.map((a) => a.value !== undefined ? String(a.value) : a.description || '').join(' ');
      tab.lines.push(text);
      if (p.type === 'error')
        tab.errors.push(text);
    } else if (msg.method === 'Runtime.exceptionThrown') {
      tab.errors.push(p.exceptionDetails.exception ? p.exceptionDetails.exception.description
                                                   : p.exceptionDetails.text);
    } else if (msg.method === 'Inspector.targetCrashed') {
      tab.errors.push('the page crashed');
    } else if (msg.method === 'Log.entryAdded' && p.entry.level === 'error') {
      tab.errors.push(p.entry.text + (p.entry.url ? ' (' + p.entry.url + ')' : ''));
    }
  });
  await tab.send('Runtime.enable');
  await tab.send('Log.enable');
  await tab.send('Page.enable');
  // The picture at factor 1, at the page's top left: the same boxes as on
  // the desktop.
  await tab.send('Emulation.setDeviceMetricsOverride', { width: 640, height: 480, deviceScaleFactor: 1, mobile: false });
  await tab.send('Emulation.setFocusEmulationEnabled', { enabled: true });
  return tab;
}

async function evaluate(tab, expression) {
  const r = await tab.send('Runtime.evaluate', { expression, returnByValue: true, awaitPromise: true });
  if (r.exceptionDetails)
    throw new Error(expression + ': ' + r.exceptionDetails.text);
  return r.result.value;
}
// An expression read while the page may still be coming: null until it can
// be read.
const probe = (tab, expression) => evaluate(tab, `(() => { try { return ${expression}; } catch (e) { return null; } })()`);
const reading = (tab, which) =>
  probe(tab, `typeof Module !== 'undefined' && Module._webReading ? Module._webReading(${which}) : null`);
const shipX = 0, shipY = 1, score = 2, best = 3, paused = 5, bulletsFlying = 6, stageNow = 7,
      framesRun = 8, frameBusyMs = 9, gameOverNow = 10;
const stagePlaying = 1;

async function shot(tab, name) {
  const { data } = await tab.send('Page.captureScreenshot', { format: 'png' });
  const file = path.join(work, name + '.png');
  fs.writeFileSync(file, Buffer.from(data, 'base64'));
  return file;
}

// Fraction of the pixels in a W x H + X + Y box for which the fx test holds.
function fraction(file, box, test) {
  return parseFloat(execFileSync('convert', [file, '-crop', box, '+repage', '-fx', test,
                                             '-format', '%[fx:mean]', 'info:']).toString());
}
const yellow = 'r>0.7 && g>0.7 && b<0.35', white = 'r>0.8 && g>0.8 && b>0.8';

const keys = {
  ArrowRight: { code: 'ArrowRight', keyCode: 39 }, ArrowLeft: { code: 'ArrowLeft', keyCode: 37 },
  ArrowUp: { code: 'ArrowUp', keyCode: 38 }, ArrowDown: { code: 'ArrowDown', keyCode: 40 },
  ' ': { code: 'Space', keyCode: 32 }, s: { code: 'KeyS', keyCode: 83 }, p: { code: 'KeyP', keyCode: 80 },
  Escape: { code: 'Escape', keyCode: 27 },
};
function key(tab, name, type) {
  const k = keys[name];
  return tab.send('Input.dispatchKeyEvent', { type, key: name, code: k.code, windowsVirtualKeyCode: k.keyCode,
                                              nativeVirtualKeyCode: k.keyCode, text: type === 'keyDown' && name.length === 1 ? name : undefined });
}
async function hold(tab, name, ms) {
  await key(tab, name, 'keyDown');
  await sleep(ms);
  await key(tab, name, 'keyUp');
}

// Live play meets enemies: a crash puts the ship back and a bullet can hit
// at once, so a move or a shot gets three tries before it counts as failed.
const tries = async (attempt) => (await attempt()) || (await attempt()) || attempt();

// Waits until the game has run n more frames: what the page changed before
// has been read by then.
async function framesPass(tab, n) {
  const from = await reading(tab, framesRun);
  return waitFor(async () => (await reading(tab, framesRun)) >= from + n, 10);
}

async function load(tab, url) {
  await tab.send('Page.navigate', { url });
  return waitFor(async () => (await reading(tab, stageNow)) === stagePlaying, 60);
}

// ---- the checks --------------------------------------------------------------

async function checkPlay(tab, url) {
  await tab.send('Page.navigate', { url });
  // The first picture is the loading screen: the title with LOADING in
  // yellow at (36, 36).
  const loading = await waitFor(async () => {
    if (!await probe(tab, `document.getElementById('canvas').classList.contains('running')`))
      return null;
    const f = fraction(await shot(tab, 'loading'), '80x14+36+38', yellow);
    return f > 0.08 ? f : null;
  }, 60);
  loading ? ok(`loading screen first (${loading.toFixed(3)})`) : fail('no LOADING text on the first picture');
  const started = await waitFor(async () => (await reading(tab, stageNow)) === stagePlaying, 30);
  started ? ok('play begins after the loading screen') : fail('play never began');
  const hud = await waitFor(async () => {
    const f = fraction(await shot(tab, 'play'), '200x20+0+460', white);
    return f > 0.02 ? f : null;
  }, 15);
  hud ? ok(`score line drawn (${hud.toFixed(3)})`) : fail('no score line in play');
  const band = fraction(path.join(work, 'play.png'), '640x400+0+60', 'r+g+b>0.15');
  band > 0.5 ? ok(`play band drawn (${band.toFixed(3)})`) : fail(`play band mostly black (${band})`);

  const moved = async (name, which, ms, test) => tries(async () => {
    const from = await reading(tab, which);
    await hold(tab, name, ms);
    const to = await reading(tab, which);
    return test(from, to) && `${from} -> ${to}`;
  });
  const right = await moved('ArrowRight', shipX, 600, (a, b) => b > a + 20);
  right ? ok(`Right moves the ship (${right})`) : fail('Right never moved the ship');
  const up = await moved('ArrowUp', shipY, 300, (a, b) => b < a);
  up ? ok(`Up moves the ship (${up})`) : fail('Up never moved the ship');

  // SPACE fires: a bullet flies at once, and shots sweeping the sky score.
  const shotFired = await tries(async () => {
    await key(tab, ' ', 'keyDown');
    await key(tab, ' ', 'keyUp');
    return waitFor(async () => (await reading(tab, bulletsFlying)) > 0, 1);
  });
  shotFired ? ok('SPACE fires') : fail('no bullet after SPACE');
  const scored = await waitFor(async () => {
    await key(tab, ' ', 'keyDown');
    await key(tab, ' ', 'keyUp');
    const y = await reading(tab, shipY);
    await hold(tab, y > 240 ? 'ArrowUp' : 'ArrowDown', 60);
    return (await reading(tab, score)) > 0;
  }, 60);
  scored ? ok(`shots score (${await reading(tab, score)})`) : fail('60 s of shots scored nothing');

  // Losing the focus pauses: PAUSED in yellow at (400, 36).
  await evaluate(tab, `window.dispatchEvent(new FocusEvent('blur')), 1`);
  const stopped = await waitFor(async () => (await reading(tab, paused)) === 1, 10);
  const pausedText = fraction(await shot(tab, 'paused'), '60x14+400+38', yellow);
  stopped && pausedText > 0.05 ? ok(`focus loss pauses (${pausedText.toFixed(3)})`)
                               : fail(`focus loss: paused ${stopped}, PAUSED text ${pausedText}`);

  // Speed in play: frames a second and the time spent in each.
  await evaluate(tab, `window.dispatchEvent(new FocusEvent('focus')), 1`);
  await hold(tab, 'p', 50);
  (await waitFor(async () => (await reading(tab, paused)) === 0, 10)) !== false || fail('P did not resume');
  // ESC in a page pauses and never ends the game: the page stays.
  await hold(tab, 'Escape', 50);
  const escPaused = await waitFor(async () => (await reading(tab, paused)) === 1, 10);
  escPaused && (await reading(tab, stageNow)) === stagePlaying ? ok('ESC pauses and the game goes on')
                                                               : fail('ESC did not pause, or ended the game');
  await hold(tab, 'p', 50);
  await waitFor(async () => (await reading(tab, paused)) === 0, 10);
  const f0 = await reading(tab, framesRun), b0 = await reading(tab, frameBusyMs), t0 = Date.now();
  await sleep(3000);
  const f1 = await reading(tab, framesRun), b1 = await reading(tab, frameBusyMs), t1 = Date.now();
  console.log(`speed: play at ${((f1 - f0) * 1000 / (t1 - t0)).toFixed(1)} frames/s, ` +
              `${((b1 - b0) / Math.max(1, f1 - f0)).toFixed(2)} ms a frame in the game`);
}

// The best of a game that ended is in the browser's storage after a reload.
async function checkBestKept(tab, url) {
  await load(tab, url);
  const before = await reading(tab, best);
  // Points held on the debug key, then into the lower edge until the game ends.
  await hold(tab, 's', 400);
  const over = await waitFor(async () => {
    await hold(tab, 'ArrowDown', 500);
    return (await reading(tab, gameOverNow)) === 1;
  }, 60);
  const saved = await reading(tab, best);
  over && saved > before ? ok(`a game that ended set the best (${before} -> ${saved})`)
                         : fail(`game over ${over}, best ${before} -> ${saved}`);
  await waitFor(() => evaluate(tab, `!bestStorage.busy`), 10);
  await load(tab, url);
  const kept = await waitFor(async () => (await reading(tab, best)) === saved, 10);
  kept ? ok(`the best survives a reload (${saved})`) : fail(`after a reload the best is ${await reading(tab, best)}, not ${saved}`);
  // Another tab that saves a lower best after this one keeps the higher:
  // the stored best stays, and that tab's file takes it.
  const merged = await evaluate(tab, `new Promise((done) => {
    FS.writeFile('/save/high1', '1');
    persistBest();
    (function wait() { bestStorage.busy ? setTimeout(wait, 50) : done(FS.readFile('/save/high1', { encoding: 'utf8' })); })();
  })`);
  merged === String(saved) ? ok('a lower best saved in another tab leaves the higher stored')
                           : fail(`a lower best from another tab: the file holds ${merged}, not ${saved}`);
}

// A page whose storage the browser refuses plays all the same, saying so once.
async function checkNoStorage(tab, url) {
  const { identifier } = await tab.send('Page.addScriptToEvaluateOnNewDocument', {
    source: `IDBFactory.prototype.open = function () { throw new DOMException('storage refused', 'SecurityError'); };` });
  const lines = tab.lines.length;
  const playing = await load(tab, url);
  const said = tab.lines.slice(lines).filter((l) => /keeps no storage/.test(l)).length;
  playing && said === 1 ? ok('refused storage: the game plays, said in one line')
                        : fail(`refused storage: playing ${playing}, ${said} lines about it`);
  await tab.send('Page.removeScriptToEvaluateOnNewDocument', { identifier });
}

// A gamepad through the browser's Gamepad API: a standard-layout pad made up
// in the page (headless Chromium has none) is taken up as the SDL 2 build
// takes one, the stick and the D-pad steer, A fires, Start pauses, and a pad
// pulled out is let go of.
async function checkGamepad(tab, url) {
  const { identifier } = await tab.send('Page.addScriptToEvaluateOnNewDocument', { source: `
    window.testPad = { id: 'Test Pad', index: 0, mapping: 'standard', connected: true, timestamp: 0,
                       axes: [0, 0, 0, 0],
                       buttons: Array.from({ length: 17 }, () => ({ pressed: false, value: 0 })) };
    navigator.getGamepads = () => window.testPad.connected ? [window.testPad] : [];` });
  const lines = tab.lines.length;
  const said = (re) => waitFor(() => tab.lines.slice(lines).some((l) => re.test(l)), 10);
  await load(tab, url);
  (await said(/gamepad taken up: /)) ? ok('a gamepad present at start is taken up')
                                     : fail('no "gamepad taken up" line for a standard pad');
  const set = (what) => evaluate(tab, `(() => { const p = window.testPad; ${what}; return 1; })()`);
  // SDL's browser joystick reports an axis only when it changes, and SDL
  // takes the first value it gets as the stick at rest: the first push after
  // a pad comes is swallowed, for a player too. Push once and let go first.
  await set('p.axes[0] = 1');
  await framesPass(tab, 2);
  await set('p.axes[0] = 0');
  await framesPass(tab, 2);
  const press = (n, down) => set(`p.buttons[${n}] = { pressed: ${down}, value: ${down ? 1 : 0} }`);
  // Held until the ship has moved (a few seconds at most), then let go.
  const steers = (which, start, stop, test) => tries(async () => {
    const from = await reading(tab, which);
    await set(start);
    await waitFor(async () => test(from, await reading(tab, which)), 3);
    await set(stop);
    const to = await reading(tab, which);
    return test(from, to) && `${from} -> ${to}`;
  });
  const right = await steers(shipX, 'p.axes[0] = 1', 'p.axes[0] = 0', (a, b) => b > a + 20);
  right ? ok(`the stick moves the ship (${right})`) : fail('the stick never moved the ship');
  const up = await steers(shipY, 'p.buttons[12] = { pressed: true, value: 1 }',
                          'p.buttons[12] = { pressed: false, value: 0 }', (a, b) => b < a);
  up ? ok(`the D-pad moves the ship (${up})`) : fail('D-pad up never moved the ship');
  const fired = await tries(async () => {
    await press(0, true);
    const flying = await waitFor(async () => (await reading(tab, bulletsFlying)) > 0, 1);
    await press(0, false);
    await framesPass(tab, 2);
    return flying;
  });
  fired ? ok('A fires') : fail('no bullet after A');
  await press(9, true);
  const pausedByStart = await waitFor(async () => (await reading(tab, paused)) === 1, 10);
  await press(9, false);
  pausedByStart ? ok('Start pauses') : fail('Start did not pause');
  await evaluate(tab, `(() => { window.testPad.connected = false;
    const e = new Event('gamepaddisconnected');
    Object.defineProperty(e, 'gamepad', { value: window.testPad });
    window.dispatchEvent(e); return 1; })()`);
  (await said(/gamepad let go: /)) ? ok('a pad pulled out is let go of') : fail('no "gamepad let go" line');
  await tab.send('Page.removeScriptToEvaluateOnNewDocument', { identifier });
}

// F11 puts the page's picture in full screen at the largest whole factor
// that fits, and back; the game plays on through both.
async function checkFullScreen(tab, url) {
  await load(tab, url);
  await tab.send('Emulation.setDeviceMetricsOverride', { width: 1400, height: 1000, deviceScaleFactor: 1, mobile: false });
  const size = () => probe(tab, `[!!document.fullscreenElement, document.getElementById('canvas').style.width]`);
  keys.F11 = { code: 'F11', keyCode: 122 };
  await hold(tab, 'F11', 50);
  const full = await waitFor(async () => { const s = await size(); return s[0] && s[1] === '1280px' && s; }, 10);
  full ? ok('F11: full screen, the picture doubled') : fail(`F11: full screen and width ${await size()}`);
  await hold(tab, 'F11', 50);
  const back = await waitFor(async () => !(await size())[0], 10);
  back ? ok('F11 again leaves full screen') : fail('F11 again stayed in full screen');
  (await reading(tab, stageNow)) === stagePlaying ? ok('play goes on through full screen')
                                                 : fail('the game left play on F11');
  await tab.send('Emulation.setDeviceMetricsOverride', { width: 640, height: 480, deviceScaleFactor: 1, mobile: false });
}

// Each golden demo ends on the summary line the desktop builds end on.
async function checkDemos(tab, url) {
  const names = fs.readdirSync(path.join(source, 'tests/demos')).filter((n) => n.endsWith('.demo'))
    .map((n) => n.slice(0, -5));
  for (const name of names) {
    const expected = fs.readFileSync(path.join(source, 'tests/demos', name + '.expected'), 'utf8')
      .split('\n').find((l) => l.startsWith('summary ')).slice(8);
    const from = tab.lines.length;
    await tab.send('Page.navigate', { url: url + '?timedemo=' + name });
    const line = await waitFor(() => tab.lines.slice(from).find((l) => l.startsWith('passes ')), 300);
    if (!line) {
      fail(`timedemo ${name}: no summary line`);
      continue;
    }
    line.startsWith(expected + ', ') ? ok(`timedemo ${name}: ${line}`)
                                      : fail(`timedemo ${name}: "${line}", expected "${expected}"`);
  }
}

async function main() {
  const { server, url } = await startServer();
  const profile = path.join(work, 'profile');
  const b = startBrowser(profile);
  const done = async () => {
    // Asked to close, the browser ends with its profile written out; killed,
    // its helper processes can still be writing there while it is removed.
    const gone = new Promise((r) => b.browser.once('exit', r));
    if (b.browser.exitCode === null && b.browser.signalCode === null) {
      b.send('Browser.close').catch(() => {});
      await Promise.race([gone, sleep(10000)]);
    }
    b.browser.kill();
    server.kill();
    await Promise.race([gone, sleep(10000)]);
    if (process.env.WEB_SHOTS) {
      fs.mkdirSync(process.env.WEB_SHOTS, { recursive: true });
      fs.readdirSync(work).filter((n) => n.endsWith('.png'))
        .forEach((n) => fs.copyFileSync(path.join(work, n), path.join(process.env.WEB_SHOTS, n)));
    }
    // A folder left in /tmp is no failure of the page: say so and go on.
    try {
      fs.rmSync(work, { recursive: true, force: true, maxRetries: 5 });
    } catch (e) {
      console.log(`note: ${work} not removed (${e.code})`);
    }
  };
  try {
    const tab = await openTab(b);
    // WEB_CHECKS=play,best,storage,pad,full,demos runs some of them only.
    const wanted = (process.env.WEB_CHECKS || 'play,best,storage,pad,full,demos').split(',');
    const checks = { play: checkPlay, best: checkBestKept, storage: checkNoStorage, pad: checkGamepad,
                     full: checkFullScreen, demos: checkDemos };
    for (const name of wanted)
      await checks[name](tab, url);
    // The game says so in a line when the audio would not open or a sound or
    // the music module would not load: the mixer's formats are built in.
    const noSound = tab.lines.filter((l) => /Couldn't set .*audio|Could not load/.test(l));
    noSound.length === 0 ? ok('sound opened, music and sounds loaded') : fail(noSound.join('\n  '));
    tab.errors.length === 0 ? ok('no console error')
                            : fail('console errors:\n  ' + tab.errors.join('\n  '));
    if (failures)
      console.log('the page said:\n  ' + tab.lines.join('\n  '));
  } catch (e) {
    fail(e.stack || String(e));
  } finally {
    await done();
  }
  console.log(failures ? `web: ${failures} check(s) failed` : 'web: all checks passed');
  process.exit(failures ? 1 : 0);
}

main();
