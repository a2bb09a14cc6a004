// Drives the browser version in headless Chromium (Debian's, through
// puppeteer-core, which downloads no browser):
//   node check.js <site folder> <desktop menu.png> <out folder>
//                 [<golden.qrpl> <its frames> <the desktop's BMP of its last frame>]
// Checks that the page loads without console errors and shows the menu
// exactly as the desktop does, that Enter starts a match turning at the
// display's rate, that Left and Right move the yellow paddle, that a name
// typed into the table survives a reload, and that a match played here can
// be downloaded as a replay (written to <out folder>/played.qrpl for the
// desktop to verify). A golden replay opened on the page is watched to its
// end, and the picture of its last frame, scores and all, compared with the
// desktop's. Prints the measurements.
"use strict";
const fs = require("fs");
const http = require("http");
const os = require("os");
const path = require("path");
const puppeteer = require("puppeteer-core");
const { decodePng } = require("./png");

const [site, desktopMenu, outDir, golden, goldenFrames, desktopEnd] = process.argv.slice(2);
const failures = [];
function check(ok, what) {
  console.log((ok ? "ok   " : "FAIL ") + what);
  if (!ok) failures.push(what);
}
const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

function serve(folder) {
  const types = { ".html": "text/html", ".js": "text/javascript", ".wasm": "application/wasm" };
  const server = http.createServer((request, response) => {
    const name = decodeURIComponent(request.url.split("?")[0]);
    const file = path.join(path.resolve(folder), name === "/" ? "index.html" : name);
    if (!file.startsWith(path.resolve(folder)) || !fs.existsSync(file) || fs.statSync(file).isDirectory()) {
      response.writeHead(404);
      response.end();
      return;
    }
    response.writeHead(200, { "Content-Type": types[path.extname(file)] || "application/octet-stream" });
    fs.createReadStream(file).pipe(response);
  });
  return new Promise((resolve) => server.listen(0, "127.0.0.1", () => resolve(server)));
}

// The 400 x 400 picture: the canvas is made exactly that wide and high, so
// the game shows it at one to one without bars.
async function picture(page) {
  const box = await (await page.$("#canvas")).boundingBox();
  const png = await page.screenshot({ clip: { x: box.x, y: box.y, width: 400, height: 400 } });
  return decodePng(Buffer.from(png));
}

// Pixels that differ between two 24-bit BMPs of the 400 x 400 picture.
function compareBmp(one, other) {
  const differing = [];
  const offset = one.readUInt32LE(10);
  const stride = Math.ceil((400 * 3) / 4) * 4;
  if (one.length !== other.length || offset !== other.readUInt32LE(10)) return [{ x: -1, y: -1, delta: 255 }];
  for (let row = 0; row < 400; row++) {
    for (let x = 0; x < 400; x++) {
      const i = offset + row * stride + x * 3;
      const delta = Math.max(Math.abs(one[i] - other[i]), Math.abs(one[i + 1] - other[i + 1]),
                             Math.abs(one[i + 2] - other[i + 2]));
      if (delta) differing.push({ x, y: 399 - row, delta });
    }
  }
  return differing;
}

function pixelAt(image, x, y) {
  const i = (y * image.width + x) * 4;
  return [image.pixels[i], image.pixels[i + 1], image.pixels[i + 2]];
}

function isShown(image) {
  for (let i = 0; i < image.pixels.length; i += 4) {
    if (image.pixels[i] || image.pixels[i + 1] || image.pixels[i + 2]) return true;
  }
  return false;
}

// The yellow paddle runs along the bottom wall, between the corner blocks;
// where the pixels of its colour are tells where it is.
function yellowCentre(image) {
  let sum = 0;
  let count = 0;
  for (let y = 372; y < 398; y++) {
    for (let x = 80; x < 320; x++) {
      const [r, g, b] = pixelAt(image, x, y);
      if (r > 200 && g > 180 && b < 140) {
        sum += x;
        count++;
      }
    }
  }
  return count ? sum / count : NaN;
}

// A fresh page watches the golden replay, opened through the page's file
// input; the game writes the picture of its last frame (a test switch in
// the environment), which the desktop compares with its own.
async function watchGolden(browser, url, consoleErrors) {
  const page = await browser.newPage();
  page.on("console", (message) => {
    if (message.type() === "error" || /differs from its recording/.test(message.text())) {
      consoleErrors.push(message.text());
    }
  });
  page.on("pageerror", (error) => consoleErrors.push(String(error)));
  await page.setViewport({ width: 400, height: 440, deviceScaleFactor: 1 });
  await page.evaluateOnNewDocument((frame) => {
    window.Module = { preRun: [function () { Module.ENV.QUADRILL_REPLAY_DUMP = frame + ":/tmp/golden-end.bmp"; }] };
  }, Number(goldenFrames));
  await page.goto(url, { waitUntil: "domcontentloaded" });
  await page.waitForFunction(() => window.Module && Module.loopStats && Module.loopStats.turns > 5, { timeout: 10000 });
  const started = Date.now();
  await (await page.$("#open-replay")).uploadFile(golden);
  let picture = null;
  for (let waited = 0; waited < 120000 && !picture; waited += 500) {
    await sleep(500);
    picture = await page.evaluate(() => {
      try {
        return Array.from(Module.FS.readFile("/tmp/golden-end.bmp"));
      } catch (e) {
        return null;
      }
    });
  }
  console.log(`golden replay watched in ${((Date.now() - started) / 1000).toFixed(1)} s`);
  check(picture !== null, `the golden replay is watched to its last frame (${goldenFrames})`);
  if (picture) {
    fs.writeFileSync(path.join(outDir, "golden-end.bmp"), Buffer.from(picture));
    // The winner's line is antialiased text, blended with different
    // rounding on the desktop (see the menu): by up to three steps there.
    const differing = compareBmp(Buffer.from(picture), fs.readFileSync(desktopEnd));
    const unexplained = differing.filter((d) => d.delta > 3 || d.y < 280 || d.y >= 316);
    console.log(`golden replay's last frame: ${differing.length} pixels of the winner's line differ by at most ` +
                `${differing.reduce((most, d) => Math.max(most, d.delta), 0)}; ${unexplained.length} other differences`);
    check(unexplained.length === 0, "the golden replay ends as on the desktop, scores and all");
  }
  await page.close();
}

async function main() {
  fs.mkdirSync(outDir, { recursive: true });
  const server = await serve(site);
  const url = `http://127.0.0.1:${server.address().port}/`;
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), "quadrill-chromium-"));
  const browser = await puppeteer.launch({
    executablePath: "/usr/bin/chromium",
    headless: true,
    userDataDir: profile,
    args: ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
           "--disable-background-networking", "--disable-component-update", "--disable-sync",
           "--autoplay-policy=no-user-gesture-required"],
  });
  const consoleErrors = [];
  try {
    const page = await browser.newPage();
    page.on("console", (message) => {
      if (message.type() === "error") consoleErrors.push(message.text());
    });
    page.on("pageerror", (error) => consoleErrors.push(String(error)));
    page.on("requestfailed", (request) => consoleErrors.push("request failed: " + request.url()));
    const client = await page.createCDPSession();
    await client.send("Browser.setDownloadBehavior", { behavior: "allow", downloadPath: path.resolve(outDir) })
      .catch(() => client.send("Page.setDownloadBehavior", { behavior: "allow", downloadPath: path.resolve(outDir) }));

    // The bar under the canvas is as high as it is; the viewport makes room for it.
    await page.setViewport({ width: 400, height: 440, deviceScaleFactor: 1 });
    const opened = Date.now();
    await page.goto(url, { waitUntil: "domcontentloaded" });
    const barHeight = await page.$eval("#bar", (bar) => bar.getBoundingClientRect().height);
    await page.setViewport({ width: 400, height: 400 + Math.ceil(barHeight), deviceScaleFactor: 1 });
    let shown = false;
    for (let tries = 0; tries < 300 && !shown; tries++) {
      shown = isShown(await picture(page));
      if (!shown) await sleep(20);
    }
    // The game notes when it first shows a picture, in the page's own time
    // (from its opening); the screenshots above are too slow a clock for it.
    const firstPictureMs = await page.evaluate(() => Module.firstPictureAt || -1);
    console.log(`first picture after ${firstPictureMs.toFixed(0)} ms (${Date.now() - opened} ms by the test's clock)`);
    check(shown && firstPictureMs >= 0 && firstPictureMs <= 2000, "the first picture comes within 2 s");
    await sleep(1000);

    // The menu, pixel for pixel the desktop's (which is doubled).
    const menu = await picture(page);
    fs.writeFileSync(path.join(outDir, "menu-browser.png"), await page.screenshot());
    const desktop = decodePng(fs.readFileSync(desktopMenu));
    const scale = desktop.width / 400;
    const differing = [];
    for (let y = 0; y < 400; y++) {
      for (let x = 0; x < 400; x++) {
        const a = pixelAt(menu, x, y);
        const b = pixelAt(desktop, x * scale, y * scale);
        const delta = Math.max(Math.abs(a[0] - b[0]), Math.abs(a[1] - b[1]), Math.abs(a[2] - b[2]));
        if (delta) differing.push({ x, y, delta, text: `(${x},${y}) ${a} vs ${b}` });
      }
    }
    // SDL blends the table's antialiased text into the picture with its
    // x86 SIMD blitter on the desktop and its plain C one in WebAssembly,
    // which round differently: text edges may differ by a step of a
    // colour channel, two at a few. Every other pixel must be the same.
    const textArea = { left: 140, top: 250, right: 260, bottom: 315 };
    const unexplained = differing.filter((d) => d.delta > 2 || d.x < textArea.left || d.x >= textArea.right ||
                                                d.y < textArea.top || d.y >= textArea.bottom);
    const largest = differing.reduce((most, d) => Math.max(most, d.delta), 0);
    console.log(`menu: ${differing.length} pixels of the table's text differ by at most ${largest} ` +
                `in a channel (blending rounded differently); ${unexplained.length} other differences`);
    if (unexplained.length) console.log("  " + unexplained.slice(0, 20).map((d) => d.text).join("\n  "));
    check(unexplained.length === 0, "the menu is the desktop's menu, pixel for pixel but for text blending");

    // Enter starts a match that turns once a display refresh.
    await page.keyboard.press("Enter");
    await sleep(1500);
    const rates = await page.evaluate(() => new Promise((resolve) => {
      const before = Object.assign({}, Module.loopStats);
      let refreshes = 0;
      const start = performance.now();
      function tick() {
        refreshes++;
        if (performance.now() - start < 2000) requestAnimationFrame(tick);
        else resolve({ refreshes, turns: Module.loopStats.turns - before.turns,
                       busyMs: Module.loopStats.busyMs - before.busyMs, longestMs: Module.loopStats.longestMs });
      }
      requestAnimationFrame(tick);
    }));
    console.log(`in the match: ${rates.turns} turns for ${rates.refreshes} display refreshes in 2 s, ` +
                `${(rates.busyMs / Math.max(rates.turns, 1)).toFixed(2)} ms a frame on average, ` +
                `longest ${rates.longestMs.toFixed(2)} ms`);
    check(Math.abs(rates.turns - rates.refreshes) <= rates.refreshes * 0.1 && rates.turns > 0,
          "the match runs at the display's rate");

    fs.writeFileSync(path.join(outDir, "match-browser.png"), await page.screenshot());
    // Held Left, then held Right, moves the yellow paddle.
    // Serves pause the paddles for a moment: watch them for a while.
    const atStart = yellowCentre(await picture(page));
    let afterLeft = atStart;
    let afterRight = atStart;
    await page.keyboard.down("ArrowLeft");
    for (let i = 0; i < 10; i++) {
      await sleep(100);
      afterLeft = Math.min(afterLeft, yellowCentre(await picture(page)));
    }
    await page.keyboard.up("ArrowLeft");
    afterRight = afterLeft;
    await page.keyboard.down("ArrowRight");
    for (let i = 0; i < 15; i++) {
      await sleep(100);
      afterRight = Math.max(afterRight, yellowCentre(await picture(page)));
    }
    await page.keyboard.up("ArrowRight");
    console.log(`yellow paddle at x ${atStart.toFixed(1)}, after Left ${afterLeft.toFixed(1)}, ` +
                `after Right ${afterRight.toFixed(1)}`);
    check(afterLeft < atStart - 5 && afterRight > afterLeft + 10, "Left and Right move the yellow paddle");

    // Escape ends the match; its replay can be downloaded.
    await page.keyboard.press("Escape");
    await sleep(1500);
    await page.click("#download-replay");
    let downloaded = "";
    for (let tries = 0; tries < 50 && !downloaded; tries++) {
      await sleep(100);
      downloaded = fs.readdirSync(outDir).find((name) => name.endsWith(".qrpl")) || "";
    }
    check(downloaded !== "", "the match's replay downloads");
    if (downloaded) fs.renameSync(path.join(outDir, downloaded), path.join(outDir, "played.qrpl"));

    // The table keeps who plays each colour: ticking blue's Player box is
    // written to the table at once, and a reload shows it again.
    const tableFile = () => page.evaluate(() => {
      try {
        return Array.from(Module.FS.readFile("/home/web_user/.local/share/quadrill/Quadrill.dat")).join(",");
      } catch (e) {
        return "";
      }
    });
    const boxRegion = (image) => {
      const values = [];
      for (let y = 164; y < 180; y++) for (let x = 259; x < 275; x++) values.push(pixelAt(image, x, y).join(","));
      return values.join(" ");
    };
    const boxBefore = boxRegion(await picture(page));
    await page.mouse.click(267, 172);
    await sleep(500);
    const boxTicked = boxRegion(await picture(page));
    const tableBefore = await tableFile();
    check(boxTicked !== boxBefore && tableBefore !== "", "a click on blue's Player box changes it and saves the table");
    await page.reload({ waitUntil: "domcontentloaded" });
    await page.waitForFunction(() => window.Module && Module.loopStats && Module.loopStats.turns > 5, { timeout: 10000 });
    await sleep(500);
    const boxReloaded = boxRegion(await picture(page));
    const tableReloaded = await tableFile();
    console.log(`table before the reload: ${tableBefore}\ntable after it:          ${tableReloaded}`);
    check(boxReloaded === boxTicked && tableReloaded === tableBefore, "after a reload the table is the one saved before");
    await page.screenshot({ path: path.join(outDir, "after-reload.png") });
    await page.close();

    if (golden) await watchGolden(browser, url, consoleErrors);
  } finally {
    await browser.close();
    server.close();
    fs.rmSync(profile, { recursive: true, force: true });
  }
  if (consoleErrors.length) console.log("console errors:\n  " + consoleErrors.join("\n  "));
  check(consoleErrors.length === 0, "no console errors");
  if (failures.length) {
    console.log(`${failures.length} check(s) failed`);
    process.exit(1);
  }
}

main().catch((error) => {
  console.error(error);
  process.exit(1);
});
