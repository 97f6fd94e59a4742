"""The web page, served with a strict Content-Security-Policy, in headless Chromium, Firefox or
WebKitGTK: exact frames, start-up pace, keys, pointer, scrub mode, ending, and the page around them.

usage: page_test.py PAGE_DIR BITMAP_DIR [chromium|firefox|webkit]
"""
import base64, functools, http.server, json, os, re, shutil, statistics, struct, subprocess, sys, tempfile
import threading, time, unittest

import websocket
from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.actions.action_builder import ActionBuilder
from selenium.webdriver.common.keys import Keys

PAGE_DIR, BITMAP_DIR = sys.argv[1], sys.argv[2]
ENGINE = sys.argv[3] if len(sys.argv) > 3 else "chromium"
CSP = "default-src 'self'; script-src 'self' 'wasm-unsafe-eval'"
CAPTION = "QEX Zorbuliners&PintaksIn3Lifts  SpaceBar +-*/,.  ESC"
ROW_BYTES, ROWS = 44, 405


def bitmap_rows(holder):
    """The picture's rows top-down, 1 bits white, padding bits cleared: read independently of the page."""
    with open(os.path.join(BITMAP_DIR, "image%02d.bmp" % holder), "rb") as f:
        data = f.read()
    offset, = struct.unpack_from("<I", data, 10)
    width, height, _, bits = struct.unpack_from("<iiHH", data, 18)
    assert (width, height, bits) == (345, 405, 1)
    white = data[54 + 4:54 + 7] == b"\xff\xff\xff"
    out = bytearray()
    for row in range(height - 1, -1, -1):
        line = bytearray(data[offset + row * ROW_BYTES:offset + (row + 1) * ROW_BYTES])
        if not white:
            line = bytearray(b ^ 0xFF for b in line)
        line[43] &= 0x80  # 345 = 43 * 8 + 1 bits
        out += line
    return bytes(out)


# Installed before the page's own scripts: every drawImage is logged with the holder it drew.
OBSERVER = """
window.qexDraws = []; window.qexKeys = []; window.qexT = {}; window.qexErrors = [];
const logError = console.error;
console.error = function(...args) { qexErrors.push(args.join(' ')); logError.apply(this, args); };
addEventListener('error', e => qexErrors.push(String(e.message || e.target.src || e.target.href)), true);
addEventListener('unhandledrejection', e => qexErrors.push(String(e.reason)));
document.addEventListener('securitypolicyviolation', e => qexErrors.push('refused ' + e.violatedDirective));
// Each canvas pixel is the bitmap pixel under its centre (nearest neighbour); blocks: all are.
window.qexPack = function(ctx) {
  const c = ctx.canvas, d = ctx.getImageData(0, 0, c.width, c.height).data, out = new Uint8Array(405 * 44);
  const col = Int32Array.from({length: c.width + 1}, (_, x) => x < c.width ? Math.floor((x + 0.5) * 345 / c.width) : -1);
  let blocks = true, row = -1;
  for (let y = 0; y < c.height; y++) {
    const r = Math.floor((y + 0.5) * 405 / c.height), first = r !== row;
    row = r;
    for (let x = 0, b = -1; x < c.width; x++) {
      const white = d[(y * c.width + x) * 4] === 255, at = r * 44 + (col[x] >> 3), bit = 0x80 >> (col[x] & 7);
      if (first && col[x] !== b && white) out[at] |= bit;
      if (white !== ((out[at] & bit) !== 0)) blocks = false;
      b = col[x];
    }
  }
  return [out, blocks];
};
window.qexMatch = function(out) {
  for (let h = 1; h <= 54; h++) {
    const e = window.qexExpected[h - 1]; let same = true;
    for (let i = 0; i < e.length && same; i++) same = e[i] === out[i];
    if (same) return h;
  }
  return 0;
};
const draw = CanvasRenderingContext2D.prototype.drawImage;
CanvasRenderingContext2D.prototype.drawImage = function(...args) {
  draw.apply(this, args);
  if (window.qexExpected && this.canvas.width === 345)
    qexDraws.push([performance.now(), qexMatch(qexPack(this)[0])]);
  else qexDraws.push([performance.now(), -1]);
};
window.qexPosts = 0;
const post = MessagePort.prototype.postMessage;
MessagePort.prototype.postMessage = function(...args) { qexPosts++; return post.apply(this, args); };
window.qexShortTimers = 0;
const arm = window.setTimeout;
window.setTimeout = function(f, ms, ...rest) { if (ms < 1) qexShortTimers++; return arm.call(this, f, ms, ...rest); };
addEventListener('keydown', e => qexKeys.push([e.key, e.defaultPrevented]));
addEventListener('keydown', e => { if (e.key === 'Escape') qexT.start = performance.now(); }, true);
addEventListener('mousedown', e => { if (e.detail === 2) qexT.start = performance.now(); }, true);
document.addEventListener('DOMContentLoaded', () => new MutationObserver(() => {
  if (!document.getElementById('notice').hidden) qexT.end = performance.now();
}).observe(document.getElementById('notice'), {attributes: true}));
"""


def pos(holder):
    return (holder - 1) % 18


def lift(holder):
    return (holder - 1) // 18


class Quiet(http.server.SimpleHTTPRequestHandler):
    """The page under the strict policy, at / and under /nowasm/ where its program is missing;
    as observed.html, the page first loads the observer with the expected frames."""
    def translate_path(self, path):
        return super().translate_path(path.removeprefix("/nowasm"))

    def do_GET(self):
        if self.path == "/observer.js":
            body = (self.server.expected_js + OBSERVER).encode()
        elif self.path.startswith("/nowasm/qex-lifts.wasm"):
            return self.send_error(404)
        elif self.path.endswith("/observed.html"):
            with open(os.path.join(PAGE_DIR, "index.html"), "rb") as f:
                body = f.read()
            body = body.replace(b"<head>", b'<head>\n<script src="/observer.js"></script>', 1)
        else:
            return super().do_GET()
        self.send_response(200)
        self.send_header("Content-Type", "text/javascript" if self.path.endswith(".js") else "text/html")
        self.end_headers()
        self.wfile.write(body)

    def end_headers(self):
        self.send_header("Content-Security-Policy", CSP)
        super().end_headers()

    def log_message(self, *args):
        pass


class Server:
    def __init__(self, expected_js):
        handler = functools.partial(Quiet, directory=PAGE_DIR)
        self.httpd = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
        self.httpd.expected_js = "window.qexExpected = %s.map(s => Uint8Array.from(atob(s), c => c.charCodeAt(0)));\n" % expected_js
        self.url = "http://127.0.0.1:%d/" % self.httpd.server_address[1]
        threading.Thread(target=self.httpd.serve_forever, daemon=True).start()


class Firefox:
    """Firefox ESR through WebDriver BiDi, answering the few calls of Selenium's driver these tests make."""
    def __init__(self, ratio):
        self.profile = tempfile.mkdtemp()
        self.process = subprocess.Popen(["firefox-esr", "--headless", "--remote-debugging-port=0", "--no-remote",
                                         "--profile", self.profile], stdout=subprocess.DEVNULL,
                                        stderr=subprocess.PIPE, text=True)
        address = next(m for m in map(re.compile(r"BiDi listening on (\S+)").search, self.process.stderr) if m)
        threading.Thread(target=self.process.stderr.read, daemon=True).start()
        self.socket = websocket.create_connection(address[1] + "/session", suppress_origin=True)
        self.sent, self.logs = 0, []
        self.call("session.new", capabilities={})
        self.context = self.call("browsingContext.getTree")["contexts"][0]["context"]
        self.call("session.subscribe", events=["log.entryAdded"])
        self.call("browsingContext.setViewport", context=self.context, viewport={"width": 640, "height": 800},
                  devicePixelRatio=ratio)

    def call(self, method, **params):
        self.sent += 1
        self.socket.send(json.dumps({"id": self.sent, "method": method, "params": params}))
        while True:
            message = json.loads(self.socket.recv())
            if message.get("method") == "log.entryAdded" and message["params"]["level"] == "error":
                self.logs.append({"level": "SEVERE", "message": message["params"]["text"]})
            if message.get("id") == self.sent:
                if message["type"] == "error":
                    raise RuntimeError("%s: %s" % (method, message["message"]))
                return message["result"]

    def get(self, url):
        self.call("browsingContext.navigate", context=self.context, url=url, wait="complete")

    def execute_script(self, script, tries=20):
        """As Selenium's drivers do, a script run while a new page loads runs again once it is there."""
        result = self.call("script.callFunction", target={"context": self.context}, awaitPromise=True,
                           functionDeclaration="async function() { return JSON.stringify(await (async () => {%s})()); }" % script)
        if result["type"] == "exception":
            if tries == 0:
                raise RuntimeError(result["exceptionDetails"]["text"])
            time.sleep(0.1)
            return self.execute_script(script, tries - 1)
        return json.loads(result["result"]["value"]) if result["result"]["type"] == "string" else None

    def execute(self, command, params, tries=5):  # Selenium's action chains end here
        try:
            self.call("input.performActions", context=self.context, actions=params["actions"])
        except RuntimeError:  # Firefox refuses input while a page is being replaced
            if tries == 0:
                raise
            time.sleep(0.2)
            self.execute(command, params, tries - 1)

    def save_screenshot(self, path):
        with open(path, "wb") as f:
            f.write(base64.b64decode(self.call("browsingContext.captureScreenshot", context=self.context)["data"]))

    def get_log(self, kind):
        logs, self.logs = (self.logs, []) if kind == "browser" else ([], self.logs)
        return logs

    def quit(self):
        self.socket.close()
        self.process.terminate()
        self.process.wait()
        self.process.stderr.close()
        shutil.rmtree(self.profile, ignore_errors=True)


def webkit_display():
    """WebKitGTK draws only on a display: a private Xvfb on a number it picks itself."""
    read, write = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", "1280x1024x24", "-noreset",
                             "-nolisten", "tcp"], pass_fds=[write])
    os.close(write)
    os.environ["DISPLAY"] = ":" + os.read(read, 16).decode().strip()
    return xvfb


def browser(ratio, coarse=False):
    if ENGINE == "firefox":
        return Firefox(ratio)
    if ENGINE == "webkit":
        os.environ["GDK_SCALE"] = str(ratio)
        options = webdriver.WebKitGTKOptions()
        options.binary_location = "/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser"
        options.add_argument("--automation")
        driver = webdriver.WebKitGTK(executable_path="/usr/bin/WebKitWebDriver", options=options)
        driver.set_window_size(640, 800)
        driver.get_log = lambda kind: []  # the driver keeps no console log: the observer's own check stands
        return driver
    options = webdriver.ChromeOptions()
    for arg in ["--headless=new", "--no-sandbox", "--force-device-scale-factor=%s" % ratio,
                "--window-size=640,800"]:
        options.add_argument(arg)
    options.set_capability("goog:loggingPrefs", {"browser": "ALL", "performance": "ALL"})
    driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
    if coarse:
        driver.execute_cdp_cmd("Emulation.setTouchEmulationEnabled", {"enabled": True})
    return driver


def unable(step, why):
    print("\n%s: %s not checked: %s" % (ENGINE, step, why), file=sys.stderr)


class Page(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.xvfb = webkit_display() if ENGINE == "webkit" else None
        cls.expected = [bitmap_rows(h) for h in range(1, 55)]
        cls.server = Server(json.dumps([base64.b64encode(e).decode() for e in cls.expected]))

    @classmethod
    def tearDownClass(cls):
        if cls.xvfb:
            cls.xvfb.terminate()

    def open(self, ratio=1, path="observed.html", coarse=False):
        driver = browser(ratio, coarse)
        self.addCleanup(driver.quit)
        driver.get(self.server.url + path)
        self.driver = driver
        return driver

    def js(self, script):
        return self.driver.execute_script(script)

    def draws(self):
        return self.driver.execute_script("return qexDraws")

    def wait_draws(self, count, timeout=5.0):
        end = time.monotonic() + timeout
        while len(self.draws()) < count and time.monotonic() < end:
            time.sleep(0.02)
        return self.draws()

    def settle(self, quiet=0.25):
        """Waits until nothing has been drawn for `quiet` seconds; returns the last holder drawn."""
        while True:
            before = len(self.draws())
            time.sleep(quiet)
            draws = self.draws()
            if len(draws) == before:
                return draws[-1][1]

    def key(self, keys):
        ActionChains(self.driver).send_keys(keys).perform()

    def point(self, col, row, click=False, double=False, at="Picture1"):
        """Moves the pointer to inner pixel (col, row) of the surface (or of element at), optionally clicking there."""
        box = self.js("return document.getElementById('%s').getBoundingClientRect().toJSON()" % at)
        actions = ActionBuilder(self.driver, duration=0)  # one move: each one counts in scrub mode
        actions.pointer_action.move_to_location(int(box["left"]) + 2 + col, int(box["top"]) + 2 + row)
        if click:
            actions.pointer_action.click()
        if double:
            actions.pointer_action.double_click()
        actions.perform()

    def assert_clean_ending(self):
        end = time.monotonic() + 1
        while self.driver.execute_script("return qexT.end") is None and time.monotonic() < end:
            time.sleep(0.01)
        times = self.driver.execute_script("return qexT")
        self.assertLess(times["end"] - times["start"], 50)
        self.assertTrue(self.js("return document.getElementById('window').hidden"))
        errors = [e for e in self.driver.get_log("browser") if e["level"] == "SEVERE"]
        self.assertEqual((errors, self.js("return qexErrors")), ([], []))
        resources = self.js("return performance.getEntriesByType('resource').map(e => e.name)")
        self.assertTrue(all(url.startswith(self.server.url) for url in resources), resources)
        for entry in self.driver.get_log("performance") if ENGINE == "chromium" else []:
            message = json.loads(entry["message"])["message"]
            if message["method"] == "Network.requestWillBeSent":
                self.assertTrue(message["params"]["request"]["url"].startswith(self.server.url))

    def test_plays_starts_paced_obeys_keys_pointer_and_scrub_then_ends(self):
        driver = self.open()
        draws = self.wait_draws(2, timeout=15)
        self.assertEqual(self.js("return document.title").replace("\u00a0", " "), CAPTION)
        self.assertEqual([d[1] for d in draws[:2]], [1, 2])
        self.assertGreaterEqual(draws[1][0] - draws[0][0], 12)  # one refresh at least
        self.point(0, 100)  # x = 0: after the start-up wait, one count per pass
        draws = self.wait_draws(3)
        self.assertEqual(draws[2][1], 3)
        # Firefox and WebKitGTK may draw the second picture late while they still decode the rest.
        self.assertAlmostEqual(draws[2][0] - draws[1][0], 2000, delta=40 if ENGINE == "chromium" else 150)
        self.wait_draws(10)
        # Step back during the start-up run: one frame back, stopped.
        self.key("/")
        self.settle()
        last = [d[1] for d in self.draws()[-2:]]
        self.assertEqual(pos(last[1]), (pos(last[0]) - 1) % 18)
        stopped = last[1]
        steps = [(".", 1, 0), (Keys.MULTIPLY, 1, 0), (Keys.DIVIDE, -1, 0), ("a", 0, 0),
                 (Keys.ENTER, 0, 0), (" ", 0, 1), (" ", 0, 1), (" ", 0, -1), (" ", 0, -1)]
        for keys, step, lift_change in steps:
            self.key(keys)
            now = self.settle()
            self.assertEqual((pos(now), lift(now)), ((pos(stopped) + step) % 18, lift(stopped) + lift_change))
            stopped = now
        # Run forwards: two frames on, then one per pass; run backwards likewise.
        before = len(self.draws())
        self.key(",")
        self.wait_draws(before + 6)
        ran = [pos(d[1]) for d in self.draws()[before:]]
        self.assertEqual(ran[:3], [(pos(stopped) + i) % 18 for i in (2, 3, 4)])
        before = len(self.draws())
        self.key(Keys.SUBTRACT)
        self.wait_draws(before + 8)
        moves = [(pos(b[1]) - pos(a[1])) % 18 for a, b in zip(self.draws()[before - 1:], self.draws()[before:])]
        turn = next(i for i, m in enumerate(moves) if m != 1)
        self.assertEqual(moves[turn:turn + 4], [16, 17, 17, 17])
        # Pointer speed: 70 x y counts per pass, never more than one picture per refresh.
        if ENGINE == "webkit":
            unable("the pointer's pace", "WebKitGTK on Xvfb has no steady display refresh to pace pictures against")
        for (col, row), low, high in [((344, 404), 30, 55), ((0, 0), 14, 20)]:
            self.point(col, row)
            time.sleep(0.2)
            before = len(self.draws())
            self.wait_draws(before + 20)
            times = [d[0] for d in self.draws()[before:]]
            gaps = [b - a for a, b in zip(times, times[1:])]
            self.assertTrue(ENGINE == "webkit" or low <= statistics.median(gaps) <= high, (col, row, gaps))
        # Scrub: the first move stops the run, moves down step on, up step back; leaving resumes it.
        self.point(100, 100, click=True)
        self.point(100, 101)
        held = self.settle()
        for col, row, change in [(100, 105, 1), (100, 110, 1), (120, 110, 1), (120, 104, -1)]:
            self.point(col, row)
            now = self.settle(0.4)
            self.assertEqual((pos(now) - pos(held)) % 18, change % 18, (col, row))
            held = now
        time.sleep(0.6)  # not a double-click
        before = len(self.draws())
        self.point(50, 50, click=True)
        self.wait_draws(before + 3)
        ran = [d[1] for d in self.draws()[before:]]
        self.assertTrue(all((pos(b) - pos(a)) % 18 == 17 for a, b in zip(ran, ran[1:])), ran)
        self.assertNotIn(0, [d[1] for d in self.draws()])  # every picture exactly a frame
        # A timer under a millisecond runs at once; five in a row are held back 4 ms, late passes.
        self.assertEqual(driver.execute_script("return qexShortTimers"), 0)
        prevented = dict(driver.execute_script("return qexKeys"))
        self.assertTrue(all(prevented[k] for k in "/.*, -"))
        self.assertFalse(prevented["a"])
        time.sleep(0.6)
        self.point(60, 60, double=True)
        self.assert_clean_ending()
        # Start again, then end with Escape.
        self.point(8, 8, click=True, at="again")
        self.assertEqual(self.wait_draws(1, timeout=15)[0][1], 1)
        # Stopped at the fastest pace, the page sleeps: it does not keep yielding to itself.
        self.point(0, 0)
        self.wait_draws(6)
        self.key("*")
        self.settle()
        posts = driver.execute_script("return qexPosts")
        time.sleep(0.5)
        self.assertLess(driver.execute_script("return qexPosts") - posts, 10)
        self.key(Keys.ESCAPE)
        self.assert_clean_ending()

    def test_ratios_draw_exact_pixels_in_bordered_window_on_whole_device_pixels(self):
        ratios = [1.25, 1.5, 2, 3] if ENGINE != "webkit" else [2, 3]
        if ENGINE == "webkit":
            unable("ratios 1.25 and 1.5", "WebKitGTK on X takes whole scale factors only (GDK_SCALE)")
        for ratio in ratios:
            driver = self.open(ratio=ratio)
            self.wait_draws(2, timeout=15)  # then nothing new for two seconds
            holder, blocks, width, left, top, border = self.js("""
                const ctx = document.getElementById('frame').getContext('2d');
                const [out, blocks] = qexPack(ctx), box = document.getElementById('window').getBoundingClientRect();
                return [qexMatch(out), blocks, ctx.canvas.width, box.left * devicePixelRatio,
                        box.top * devicePixelRatio, parseFloat(getComputedStyle(document.getElementById('Picture1')).borderTopWidth)];""")
            self.assertEqual((holder, blocks, width, border > 1), (2, True, round(345 * ratio), True), ratio)
            self.assertAlmostEqual(left, round(left), delta=0.05)  # layout counts 1/64 CSS pixels
            self.assertAlmostEqual(top, round(top), delta=0.05)
            if "QEX_SHOT_DIR" in os.environ:  # for a person to look at; CTest sets it to the build folder
                driver.save_screenshot(os.path.join(os.environ["QEX_SHOT_DIR"], "web-%s-ratio%s.png" % (ENGINE, ratio)))
            self.doCleanups()

    def test_page_says_why_it_cannot_start_keeps_focus_lets_tab_leave_and_pads_type(self):
        self.open(path="nowasm/observed.html")
        time.sleep(1)
        shown = self.js("return [document.getElementById('loading').hidden, document.getElementById('problem').textContent]")
        self.assertTrue(shown[0] and "qex-lifts.wasm" in shown[1], shown)
        coarse = ENGINE == "chromium"
        if not coarse:
            unable("the pad's showing for a coarse pointer", "touch emulation is used through Chromium's DevTools only; the pad is shown by hand")
        self.open(coarse=coarse)
        if not coarse:
            self.js("document.getElementById('pad').hidden = false")
        self.wait_draws(2, timeout=15)  # loading over: its start-up values would replace the pointer's
        self.point(0, 0)
        self.wait_draws(8, timeout=8)  # past the start-up waits, at the fastest pace
        self.point(-40, 100, click=True, at="window")  # the page's background
        self.assertEqual(self.js("return document.activeElement.id"), "Picture1")
        self.key("/")
        stopped = self.settle()
        for pad, step, lift_change in [("step", 1, 0), ("step-back", -1, 0), ("lift", 0, 1), ("run", 2, 0)]:
            before = len(self.draws())
            self.point(4, 4, click=True, at="pad-" + pad)
            now = self.settle(0.3) if pad != "run" else self.wait_draws(before + 1)[before][1]
            self.assertEqual((pos(now), lift(now)), ((pos(stopped) + step) % 18, lift(stopped) + lift_change), (pad, self.draws()[-5:]))
            stopped = now
        self.key(Keys.TAB)
        self.assertNotEqual(self.js("return document.activeElement.id"), "Picture1")
        ActionChains(self.driver).key_down(Keys.SHIFT).send_keys(Keys.TAB).key_up(Keys.SHIFT).perform()
        self.assertEqual(self.js("return document.activeElement.id"), "Picture1")

    def test_offline_after_one_visit(self):
        if ENGINE != "chromium":
            return unable("playing offline", "this check runs in Chromium only")
        server = Server("[]")
        self.driver = browser(1)
        self.addCleanup(self.driver.quit)
        self.driver.get(server.url)
        self.js("return navigator.serviceWorker.ready.then(() => 1)")
        server.httpd.shutdown()
        server.httpd.server_close()
        self.driver.get(server.url)
        time.sleep(1)
        self.assertEqual(self.js("return [document.getElementById('state').hidden, document.getElementById('problem').textContent]"), [True, ""])


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1])
