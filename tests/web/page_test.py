"""The web page in headless Chromium: exact frames, start-up pace, keys, pointer, scrub mode, ending.

usage: page_test.py PAGE_DIR BITMAP_DIR
"""
import base64, functools, http.server, json, os, statistics, struct, sys, threading, time, unittest

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.actions.action_builder import ActionBuilder
from selenium.webdriver.common.keys import Keys

PAGE_DIR, BITMAP_DIR = sys.argv[1], sys.argv[2]
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
window.qexDraws = []; window.qexKeys = []; window.qexT = {};
window.qexPack = function(ctx, step) {
  const c = ctx.canvas, d = ctx.getImageData(0, 0, c.width, c.height).data, out = new Uint8Array(405 * 44);
  let blocks = true;
  for (let r = 0; r < 405; r++) for (let x = 0; x < 345; x++) {
    const i = (r * step * c.width + x * step) * 4;
    for (let dy = 0; dy < step; dy++) for (let dx = 0; dx < step; dx++)
      if (d[i + (dy * c.width + dx) * 4] !== d[i]) blocks = false;
    if (d[i] === 255) out[r * 44 + (x >> 3)] |= 0x80 >> (x & 7);
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
    qexDraws.push([performance.now(), qexMatch(qexPack(this, 1)[0])]);
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
    def log_message(self, *args):
        pass


class Server:
    def __init__(self):
        handler = functools.partial(Quiet, directory=PAGE_DIR)
        self.httpd = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
        self.url = "http://127.0.0.1:%d/" % self.httpd.server_address[1]
        threading.Thread(target=self.httpd.serve_forever, daemon=True).start()


def browser(ratio):
    options = webdriver.ChromeOptions()
    for arg in ["--headless=new", "--no-sandbox", "--force-device-scale-factor=%d" % ratio,
                "--window-size=640,800"]:
        options.add_argument(arg)
    options.set_capability("goog:loggingPrefs", {"browser": "ALL", "performance": "ALL"})
    driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
    driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": OBSERVER})
    return driver


class Page(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.server = Server()
        cls.expected = [bitmap_rows(h) for h in range(1, 55)]
        cls.expected_js = json.dumps([base64.b64encode(e).decode() for e in cls.expected])

    def open(self, ratio=1):
        driver = browser(ratio)
        self.addCleanup(driver.quit)
        driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source":
            "window.qexExpected = %s.map(s => Uint8Array.from(atob(s), c => c.charCodeAt(0)));"
            % self.expected_js})
        driver.get(self.server.url)
        self.driver = driver
        return driver

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

    def point(self, col, row, click=False, double=False):
        """Moves the pointer to inner pixel (col, row) of the surface, optionally clicking there."""
        box = self.driver.execute_script("return document.getElementById('Picture1').getBoundingClientRect()")
        actions = ActionBuilder(self.driver)
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
        self.assertTrue(self.driver.find_element("id", "window").get_attribute("hidden"))
        errors = [e for e in self.driver.get_log("browser") if e["level"] == "SEVERE"]
        self.assertEqual(errors, [])
        for entry in self.driver.get_log("performance"):
            message = json.loads(entry["message"])["message"]
            if message["method"] == "Network.requestWillBeSent":
                self.assertTrue(message["params"]["request"]["url"].startswith(self.server.url))

    def test_plays_starts_paced_obeys_keys_pointer_and_scrub_then_ends(self):
        driver = self.open()
        draws = self.wait_draws(2)
        self.assertEqual(driver.title.replace("\u00a0", " "), CAPTION)
        self.assertEqual([d[1] for d in draws[:2]], [1, 2])
        self.assertGreaterEqual(draws[1][0] - draws[0][0], 12)  # one refresh at least
        self.point(0, 100)  # x = 0: after the start-up wait, one count per pass
        draws = self.wait_draws(3)
        self.assertEqual(draws[2][1], 3)
        self.assertAlmostEqual(draws[2][0] - draws[1][0], 2000, delta=40)
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
        for (col, row), low, high in [((344, 404), 30, 55), ((0, 0), 14, 20)]:
            self.point(col, row)
            time.sleep(0.2)
            before = len(self.draws())
            self.wait_draws(before + 20)
            times = [d[0] for d in self.draws()[before:]]
            gaps = [b - a for a, b in zip(times, times[1:])]
            self.assertTrue(low <= statistics.median(gaps) <= high, (col, row, gaps))
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
        driver.find_element("id", "again").click()
        self.assertEqual(self.wait_draws(1)[0][1], 1)
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

    def test_ratio_2_draws_exact_blocks(self):
        driver = self.open(ratio=2)
        self.wait_draws(2)  # then nothing new for two seconds
        holder, blocks = driver.execute_script("""
            const ctx = document.getElementById('frame').getContext('2d');
            const [out, blocks] = qexPack(ctx, 2);
            return [qexMatch(out), blocks, ctx.canvas.width];""")[:2]
        self.assertEqual((holder, blocks), (2, True))
        if "QEX_SHOT_DIR" in os.environ:  # for a person to look at; CTest sets it to the build folder
            driver.save_screenshot(os.path.join(os.environ["QEX_SHOT_DIR"], "web-ratio2.png"))


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1])
