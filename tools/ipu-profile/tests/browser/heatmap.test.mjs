// The page that `ipu-profile html` writes, in Debian's chromium driven headless.
// Needs IPU_PROFILE and MAKE_SYNTHETIC_PROFILE (the executables) and
// IPU_PROFILE_ARTEFACTS (a directory for the profiles, pages and screenshots).
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { mkdirSync, mkdtempSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { after, before, test } from 'node:test';
import { pathToFileURL } from 'node:url';
import { chromium } from 'playwright-core';

const artefacts = process.env.IPU_PROFILE_ARTEFACTS;
const SAMPLES_PER_TILE = 40;
const HOSTILE_OPERATION = '</script><script>window.__pwned = 1</script>';
const HOSTILE_KERNEL = '<img src=x onerror="window.__pwned = 2">';

let context;
let userDataDir;

function makePage(name, extraArguments) {
  const profile = join(artefacts, name + '.profile');
  const page = join(artefacts, name + '.html');
  execFileSync(process.env.MAKE_SYNTHETIC_PROFILE,
    [profile, '--samples', String(SAMPLES_PER_TILE), ...extraArguments]);
  execFileSync(process.env.IPU_PROFILE, ['html', profile, '-o', page]);
  return pathToFileURL(page).href;
}

// Opens `url` in a new tab, recording page errors and every request that would
// leave the file itself.
async function open(url) {
  const page = await context.newPage();
  const problems = [];
  page.on('pageerror', (error) => problems.push('page error: ' + error.message));
  page.on('request', (request) => {
    if (request.url() !== url) problems.push('request: ' + request.url());
  });
  await page.goto(url);
  return { page, problems };
}

before(async () => {
  mkdirSync(artefacts, { recursive: true });
  userDataDir = mkdtempSync(join(tmpdir(), 'ipu-profile-chromium-'));
  context = await chromium.launchPersistentContext(userDataDir, {
    executablePath: '/usr/bin/chromium',
    headless: true,
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-background-networking',
      '--disable-component-update', '--disable-sync', '--no-first-run'],
    viewport: { width: 1280, height: 900 },
  });
});

after(async () => {
  await context?.close();
  if (userDataDir) rmSync(userDataDir, { recursive: true, force: true });
});

test('the chip has 1472 tiles, hover shows a tile and a click shows its timeline', async () => {
  const { page, problems } = await open(makePage('heatmap', []));

  assert.equal(await page.locator('#heatmap .tile').count(), 1472);
  assert.equal(await page.locator('#heatmap .tile.unprofiled').count(), 0);
  assert.equal(await page.locator('#column-labels span').count(), 64);
  assert.equal(await page.locator('#row-labels span').count(), 23);

  const tile = page.locator('#heatmap .tile[data-physical="1005"]');
  await tile.hover();
  const tooltip = page.locator('#tooltip');
  assert.ok(await tooltip.isVisible());
  assert.match(await tooltip.textContent(), /^tile 1005 \(row 15, column 45, logical \d+\)samples40/);

  assert.ok(await page.locator('#timeline-empty').isVisible());
  await tile.click();
  assert.ok(await page.locator('#timeline-panel').isVisible());
  assert.ok(!(await page.locator('#timeline-empty').isVisible()));
  assert.match(await page.locator('#timeline-title').textContent(), /^Timeline of tile 1005 .*: 40 samples$/);
  assert.equal(await page.locator('#timeline .sample').count(), SAMPLES_PER_TILE);
  await page.locator('#timeline .sample').nth(2).click();
  assert.match(await page.locator('#sample-details').textContent(), /operationgemm\.blockkernelhmac_f16_16x16kindcompute/);

  const chart = page.locator('#timeline');
  const wholeWidth = Number(await chart.getAttribute('width'));
  await page.locator('#zoom-in').click();
  await page.locator('#zoom-in').click();
  assert.equal(Number(await chart.getAttribute('width')), wholeWidth * 4);
  assert.equal(await page.locator('#zoom-level').textContent(), '×4');
  await page.locator('#zoom-whole').click();
  assert.equal(Number(await chart.getAttribute('width')), wholeWidth);

  const before = await tile.evaluate((node) => node.style.background);
  await page.locator('#kind-choice button', { hasText: 'idle' }).click();
  assert.equal(await page.locator('#kind-choice button[aria-pressed="true"]').textContent(), 'idle');
  assert.notEqual(await tile.evaluate((node) => node.style.background), before);
  await page.locator('#kind-choice button', { hasText: 'compute' }).click();

  assert.equal(await page.locator('#steps-body tr').count(), 6);
  assert.equal(await page.locator('#kind-legend .entry').count(), 4);

  // The whole page in one viewport, so that the hover's tooltip stays in the picture.
  await page.setViewportSize({ width: 1280, height: await page.evaluate(() => document.body.scrollHeight) });
  await page.locator('#heatmap .tile[data-physical="1068"]').hover();
  await page.locator('#tooltip').waitFor({ state: 'visible' });
  await page.screenshot({ path: join(artefacts, 'heatmap.png') });
  assert.deepEqual(problems, []);
});

test('names from the profile stay text and run nothing', async () => {
  const { page, problems } = await open(makePage('hostile', ['--hostile-names']));

  assert.equal(await page.evaluate(() => window.__pwned), undefined);
  assert.equal(await page.locator('#heatmap .tile').count(), 1472);
  assert.equal(await page.locator('img').count(), 0);
  const names = await page.locator('#steps-body td.name').allTextContents();
  assert.ok(names.includes(HOSTILE_OPERATION), names.join(' | '));
  assert.ok(names.includes(HOSTILE_KERNEL), names.join(' | '));

  const hostileTile = await page.evaluate((operation) => {
    const data = JSON.parse(document.getElementById('profile-data').textContent);
    const step = data.steps.findIndex((entry) => entry[0] === operation);
    return data.tiles.find((tile) => tile.timeline[2] === step).physical;
  }, HOSTILE_OPERATION);
  await page.locator(`#heatmap .tile[data-physical="${hostileTile}"]`).click();
  await page.locator('#timeline .sample').first().click();
  const details = await page.locator('#sample-details dd').allTextContents();
  assert.equal(details[0], HOSTILE_OPERATION);
  assert.equal(details[1], HOSTILE_KERNEL);

  assert.equal(await page.evaluate(() => window.__pwned), undefined);
  await page.screenshot({ path: join(artefacts, 'hostile.png'), fullPage: true });
  assert.deepEqual(problems, []);
});
