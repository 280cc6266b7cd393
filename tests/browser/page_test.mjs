// Opens the tour's HTML page in the installed headless chromium, with the network cut off,
// and checks it as a reader would use it: one arrow per JSON trace line, the filter narrows
// them, a click shows the record's fields and bytes, and the console stays free of errors.
// Usage: node page_test.mjs PAGE.html TRACE.jsonl CHROMIUM
// Prints "browser test skipped: ..." (which CTest reads as a skip) when playwright-core is
// not installed.
import { mkdtempSync, readFileSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { pathToFileURL } from 'node:url';

const [page, trace, chromium] = process.argv.slice(2);
let playwright;
try {
  playwright = await import('playwright-core');
} catch {
  console.log('browser test skipped: playwright-core is not installed (npm ci in tests/browser)');
  process.exit(0);
}

const failures = [];
const check = (ok, what) => {
  console.log(`${ok ? 'ok  ' : 'FAIL'} ${what}`);
  if (!ok) failures.push(what);
};

const profile = mkdtempSync(join(tmpdir(), 'kinetra-browser-'));
const context = await playwright.chromium.launchPersistentContext(profile, {
  executablePath: chromium,
  headless: true,
  offline: true,
  args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
         '--disable-background-networking', '--disable-component-update', '--disable-sync'],
});
try {
  const tab = context.pages()[0] ?? await context.newPage();
  const errors = [];
  const fetched = [];
  tab.on('console', (message) => { if (message.type() === 'error') errors.push(message.text()); });
  tab.on('pageerror', (error) => errors.push(String(error)));
  // Anything but the page itself would be fetched from elsewhere: refused and counted.
  await tab.route('**/*', (route) => {
    const url = route.request().url();
    if (url.startsWith('file:') || url.startsWith('data:')) return route.continue();
    fetched.push(url);
    return route.abort();
  });
  await tab.goto(pathToFileURL(page).href, { waitUntil: 'load' });

  const lines = readFileSync(trace, 'utf8').split('\n').filter((line) => line.trim() !== '');
  const events = tab.locator('.event');
  const total = await events.count();
  check(total === lines.length && total > 50,
        `${total} event elements for ${lines.length} JSON trace lines`);
  const shown = () => tab.locator('.event:not(.hidden)').count();

  await tab.fill('#filter', '2014');
  const byText = await shown();
  const types = await tab.locator('.event:not(.hidden)').evaluateAll(
    (elements) => elements.map((e) => e.getAttribute('data-type')));
  check(byText > 0 && byText < total && types.every((type) => type === '2014'),
        `the filter "2014" leaves ${byText} events, all of type 2014`);
  await tab.fill('#filter', '');
  await tab.selectOption('#lane', 'host');
  const byLane = await shown();
  const ends = await tab.locator('.event:not(.hidden)').evaluateAll(
    (elements) => elements.map((e) => [e.dataset.from, e.dataset.to]));
  check(byLane > 0 && byLane < total && ends.every((pair) => pair.includes('host')),
        `the lane "host" leaves ${byLane} events, all to or from the host`);
  await tab.selectOption('#lane', '');
  check(await shown() === total, 'clearing the filter shows every event again');

  await tab.locator('.event[data-from="plugin"][data-type="2014"]').first().click();
  const fields = await tab.locator('#detail-fields').textContent();
  const hex = await tab.locator('#detail-hex').textContent();
  check(/"iGameId": 7/.test(fields), `a click on the 2014 game id shows its fields: ${fields.trim()}`);
  check(/^000000 {2}[0-9a-f]{2}/.test(hex), `and its bytes in hex: ${hex.trim()}`);

  check(errors.length === 0, `no console error ${errors.join('; ')}`);
  check(fetched.length === 0, `nothing fetched over the network ${fetched.join(' ')}`);
} finally {
  await context.close();
  rmSync(profile, { recursive: true, force: true });
}
console.log(`browser: ${failures.length === 0 ? 'every check held' : failures.length + ' failed'}`);
process.exit(failures.length === 0 ? 0 : 1);
