'use strict';
// Every text from the profile reaches the page through textContent or an SVG
// attribute set with setAttribute, never as markup.
(function () {
  const data = JSON.parse(document.getElementById('profile-data').textContent);
  const KIND_COLOURS = ['#4c78a8', '#f58518', '#e45756', '#bab0ac'];
  const VIRIDIS = ['#440154', '#472d7b', '#3b528b', '#2c728e', '#21918c', '#28ae80', '#5ec962',
    '#addc30', '#fde725'];
  const ROWS = 23;
  const COLUMNS = 64;
  const SVG = 'http://www.w3.org/2000/svg';

  const tilesByPhysical = new Map(data.tiles.map((tile) => [tile.physical, tile]));
  const tileCells = [];
  let chosenKind = 1;
  let selectedCell = null;
  let selectedTile = null;
  let zoom = 1;

  function el(tag, attributes, text) {
    const node = document.createElement(tag);
    for (const [name, value] of Object.entries(attributes || {})) node.setAttribute(name, value);
    if (text !== undefined) node.textContent = text;
    return node;
  }

  function svg(tag, attributes) {
    const node = document.createElementNS(SVG, tag);
    for (const [name, value] of Object.entries(attributes)) node.setAttribute(name, String(value));
    return node;
  }

  const number = (value) => value.toLocaleString('en-US');
  const percent = (fraction) => (fraction * 100).toFixed(1) + '%';
  const share = (part, whole) => (whole > 0 ? part / whole : 0);
  const sum = (values) => values.reduce((total, value) => total + value, 0);

  function microseconds(cycles) {
    return data.clock_hz > 0 ? (cycles * 1e6 / data.clock_hz).toFixed(2) + ' µs' : null;
  }

  function cyclesText(cycles) {
    const time = microseconds(cycles);
    return number(cycles) + ' cycles' + (time ? ' (' + time + ')' : '');
  }

  function hexToRgb(hex) {
    return [1, 3, 5].map((start) => parseInt(hex.slice(start, start + 2), 16));
  }

  function viridis(fraction) {
    const position = Math.min(Math.max(fraction, 0), 1) * (VIRIDIS.length - 1);
    const index = Math.min(Math.floor(position), VIRIDIS.length - 2);
    const low = hexToRgb(VIRIDIS[index]);
    const high = hexToRgb(VIRIDIS[index + 1]);
    const mix = position - index;
    const rgb = low.map((channel, i) => Math.round(channel + (high[i] - channel) * mix));
    return 'rgb(' + rgb.join(',') + ')';
  }

  function showFacts() {
    document.title = 'ipu-profile: ' + data.title;
    document.getElementById('profile-title').textContent = data.title;
    const facts = [
      ['clock', data.clock_hz > 0 ? number(data.clock_hz) + ' Hz' : 'unknown (0 Hz)'],
      ['tiles', number(data.tiles.length)],
      ['samples', number(data.samples)],
      ['span', data.span ? cyclesText(data.span.last_cycle - data.span.first_cycle) : 'no samples'],
    ];
    if (data.reversed_samples > 0) {
      facts.push(['ending before they start', number(data.reversed_samples) + ' samples (0 cycles)']);
    }
    const container = document.getElementById('facts');
    for (const [label, value] of facts) {
      const fact = el('div', { class: 'fact' });
      fact.append(el('span', { class: 'label' }, label), el('span', { class: 'value' }, value));
      container.append(fact);
    }
  }

  function showKindBar() {
    const total = sum(data.kind_cycles);
    const bar = document.getElementById('kind-bar');
    const legend = document.getElementById('kind-legend');
    data.kinds.forEach((kind, index) => {
      const cycles = data.kind_cycles[index];
      const part = el('div', { title: kind + ': ' + percent(share(cycles, total)) });
      part.style.width = (share(cycles, total) * 100) + '%';
      part.style.background = KIND_COLOURS[index];
      bar.append(part);
      const entry = el('div', { class: 'entry' });
      const swatch = el('span', { class: 'swatch' });
      swatch.style.background = KIND_COLOURS[index];
      entry.append(swatch, el('strong', {}, kind),
        el('span', { class: 'muted' }, number(cycles) + ' cycles · ' + percent(share(cycles, total))));
      legend.append(entry);
    });
  }

  function kindShare(tile, kind) {
    return share(tile.cycles[kind], sum(tile.cycles));
  }

  // Colours run from the lowest to the highest share among the profiled tiles, so
  // that differences show even when every tile spends about the same share.
  function paintHeatmap() {
    const shares = data.tiles.map((tile) => kindShare(tile, chosenKind));
    const lowest = shares.length > 0 ? shares.reduce((a, b) => Math.min(a, b)) : 0;
    const highest = shares.length > 0 ? shares.reduce((a, b) => Math.max(a, b)) : 0;
    const range = highest - lowest;
    for (const cell of tileCells) {
      const tile = tilesByPhysical.get(cell.physical);
      if (tile) {
        const fraction = range > 0 ? (kindShare(tile, chosenKind) - lowest) / range : 0.5;
        cell.node.style.background = viridis(fraction);
      }
    }
    document.getElementById('scale-low').textContent = percent(lowest);
    document.getElementById('scale-high').textContent =
      percent(highest) + ' of cycles in ' + data.kinds[chosenKind];
    document.getElementById('scale-ramp').style.background =
      'linear-gradient(to right, ' + VIRIDIS.join(', ') + ')';
    for (const button of document.querySelectorAll('#kind-choice button')) {
      button.setAttribute('aria-pressed', String(Number(button.dataset.kind) === chosenKind));
    }
  }

  function tileHeading(physical) {
    const tile = tilesByPhysical.get(physical);
    const logical = tile && tile.logical !== null ? ', logical ' + tile.logical : '';
    return 'tile ' + physical + ' (row ' + Math.floor(physical / COLUMNS) + ', column ' +
      (physical % COLUMNS) + logical + ')';
  }

  function showTooltip(event, physical) {
    const tooltip = document.getElementById('tooltip');
    tooltip.replaceChildren(el('div', { class: 'title' }, tileHeading(physical)));
    const tile = tilesByPhysical.get(physical);
    if (!tile) {
      tooltip.append(el('div', {}, 'not in the profile'));
    } else {
      const total = sum(tile.cycles);
      const table = el('table');
      const addRow = (cells) => {
        const row = el('tr');
        cells.forEach(([text, numeric]) => row.append(el('td', numeric ? { class: 'number' } : {}, text)));
        table.append(row);
      };
      addRow([['samples'], [number(tile.samples), true], ['']]);
      data.kinds.forEach((kind, index) => {
        addRow([[kind], [number(tile.cycles[index]), true], [percent(share(tile.cycles[index], total)), true]]);
      });
      addRow([['total'], [number(total), true], [microseconds(total) || '', true]]);
      tooltip.append(table);
    }
    tooltip.style.display = 'block';
    const x = Math.min(event.clientX + 14, window.innerWidth - tooltip.offsetWidth - 8);
    const y = Math.min(event.clientY + 14, window.innerHeight - tooltip.offsetHeight - 8);
    tooltip.style.left = x + 'px';
    tooltip.style.top = y + 'px';
  }

  function hideTooltip() {
    document.getElementById('tooltip').style.display = 'none';
  }

  function buildHeatmap() {
    const choice = document.getElementById('kind-choice');
    data.kinds.forEach((kind, index) => {
      const button = el('button', { type: 'button', 'data-kind': String(index) }, kind);
      button.addEventListener('click', () => { chosenKind = index; paintHeatmap(); });
      choice.append(button);
    });
    const columnLabels = document.getElementById('column-labels');
    for (let column = 0; column < COLUMNS; ++column) {
      columnLabels.append(el('span', {}, column % 8 === 0 ? String(column) : ''));
    }
    const rowLabels = document.getElementById('row-labels');
    const grid = document.getElementById('heatmap');
    for (let row = 0; row < ROWS; ++row) {
      rowLabels.append(el('span', {}, String(row)));
      for (let column = 0; column < COLUMNS; ++column) {
        const physical = row * COLUMNS + column;
        const profiled = tilesByPhysical.has(physical);
        const node = el('div', { class: profiled ? 'tile' : 'tile unprofiled', 'data-physical': String(physical) });
        node.addEventListener('mousemove', (event) => showTooltip(event, physical));
        node.addEventListener('mouseleave', hideTooltip);
        if (profiled) node.addEventListener('click', () => selectTile(node, physical));
        grid.append(node);
        tileCells.push({ node, physical });
      }
    }
    const offGrid = data.tiles.filter((tile) => tile.physical >= ROWS * COLUMNS);
    if (offGrid.length > 0) {
      const note = document.getElementById('off-grid');
      note.hidden = false;
      note.textContent = offGrid.length + ' profiled tile(s) lie outside the 23 × 64 grid: ' +
        offGrid.slice(0, 20).map((tile) => tile.physical).join(', ') + (offGrid.length > 20 ? ', …' : '');
    }
    paintHeatmap();
  }

  function stepOf(index) {
    const [operation, kernel, kind, localIndex, phase, epoch, metadata] = data.steps[index];
    return { operation, kernel, kind, localIndex, phase, epoch, metadata };
  }

  // Puts each sample in the first lane where it overlaps nothing, so nested or
  // overlapping steps stay visible.
  function assignLanes(timeline) {
    const laneEnds = [];
    const placed = [];
    for (let i = 0; i < timeline.length; i += 3) {
      const start = timeline[i];
      const end = Math.max(timeline[i + 1], start);
      let lane = laneEnds.findIndex((laneEnd) => laneEnd <= start);
      if (lane < 0) { lane = laneEnds.length; laneEnds.push(end); } else { laneEnds[lane] = end; }
      placed.push({ start, end, rawEnd: timeline[i + 1], step: timeline[i + 2], lane });
    }
    return { placed, lanes: Math.max(laneEnds.length, 1) };
  }

  function showSampleDetails(sample) {
    const step = stepOf(sample.step);
    const details = document.getElementById('sample-details');
    details.classList.remove('muted');
    const list = el('dl');
    const add = (term, value) => list.append(el('dt', {}, term), el('dd', {}, value));
    add('operation', step.operation);
    add('kernel', step.kernel);
    add('kind', data.kinds[step.kind]);
    add('cycles', number(sample.start) + ' to ' + number(sample.rawEnd) + ': ' + cyclesText(sample.end - sample.start));
    add('local index · phase · epoch', step.localIndex + ' · ' + step.phase + ' · ' + step.epoch);
    for (const [name, value] of step.metadata) add(name, value);
    details.replaceChildren(list);
  }

  function selectTile(node, physical) {
    if (selectedCell) selectedCell.classList.remove('selected');
    selectedCell = node;
    node.classList.add('selected');
    const tile = tilesByPhysical.get(physical);
    selectedTile = tile;
    document.getElementById('timeline-title').textContent =
      'Timeline of ' + tileHeading(physical) + ': ' + number(tile.samples) + ' samples';
    document.getElementById('timeline-empty').hidden = true;
    document.getElementById('timeline-panel').hidden = false;
    drawTimeline(tile);
  }

  // Zooming keeps the middle of what is in view in the middle. Sixteen times the
  // panel is as wide as a browser reliably draws one SVG.
  function setZoom(factor) {
    const scroll = document.getElementById('timeline-scroll');
    const middle = (scroll.scrollLeft + scroll.clientWidth / 2) / scroll.scrollWidth;
    zoom = Math.min(Math.max(factor, 1), 16);
    drawTimeline(selectedTile);
    scroll.scrollLeft = middle * scroll.scrollWidth - scroll.clientWidth / 2;
  }

  function buildTimelineTools() {
    document.getElementById('zoom-in').addEventListener('click', () => setZoom(zoom * 2));
    document.getElementById('zoom-out').addEventListener('click', () => setZoom(zoom / 2));
    document.getElementById('zoom-whole').addEventListener('click', () => setZoom(1));
  }

  function drawTimeline(tile) {
    const { placed, lanes } = assignLanes(tile.timeline);
    const chart = document.getElementById('timeline');
    const width = Math.max(document.getElementById('timeline-scroll').clientWidth, 300) * zoom;
    document.getElementById('zoom-level').textContent = zoom > 1 ? '×' + zoom : '';
    const laneHeight = 20;
    const top = 6;
    const height = top + lanes * laneHeight + 28;
    const first = data.span ? data.span.first_cycle : 0;
    const last = data.span ? Math.max(data.span.last_cycle, first + 1) : 1;
    const x = (cycle) => ((cycle - first) / (last - first)) * width;
    chart.setAttribute('viewBox', '0 0 ' + width + ' ' + height);
    chart.setAttribute('width', String(width));
    chart.setAttribute('height', String(height));
    chart.replaceChildren();
    let pinned = null;
    for (const sample of placed) {
      const step = stepOf(sample.step);
      const rect = svg('rect', {
        class: 'sample', x: x(sample.start), y: top + sample.lane * laneHeight,
        width: Math.max(x(sample.end) - x(sample.start), 0.6), height: laneHeight - 4, rx: 1.5,
        fill: KIND_COLOURS[step.kind],
      });
      const title = svg('title', {});
      title.textContent = step.operation + ' · ' + step.kernel;
      rect.append(title);
      rect.addEventListener('mouseenter', () => { if (!pinned) showSampleDetails(sample); });
      rect.addEventListener('click', () => {
        if (pinned) pinned.classList.remove('pinned');
        pinned = pinned === rect ? null : rect;
        if (pinned) pinned.classList.add('pinned');
        showSampleDetails(sample);
      });
      chart.append(rect);
    }
    const axis = svg('g', { class: 'axis' });
    const axisY = top + lanes * laneHeight + 4;
    axis.append(svg('line', { x1: 0, x2: width, y1: axisY, y2: axisY }));
    const ticks = Math.max(5, Math.round(width / 220));
    for (let tick = 0; tick <= ticks; ++tick) {
      const cycles = Math.round(((last - first) * tick) / ticks);
      const tickX = (width * tick) / ticks;
      axis.append(svg('line', { x1: tickX, x2: tickX, y1: axisY, y2: axisY + 4 }));
      const label = svg('text', {
        x: tickX, y: axisY + 17, 'text-anchor': tick === 0 ? 'start' : tick === ticks ? 'end' : 'middle',
      });
      label.textContent = '+' + number(cycles) + (data.clock_hz > 0 ? ' (' + microseconds(cycles) + ')' : '');
      axis.append(label);
    }
    chart.append(axis);
  }

  function showCostliestSteps() {
    const body = document.getElementById('steps-body');
    const total = sum(data.kind_cycles);
    const highest = data.costliest.length > 0 ? data.costliest[0].cycles : 0;
    data.costliest.forEach((step, rank) => {
      const row = el('tr');
      const kinds = el('td');
      for (const kind of step.kinds) {
        const swatch = el('span', { class: 'swatch', title: data.kinds[kind] });
        swatch.style.background = KIND_COLOURS[kind];
        swatch.style.marginRight = '4px';
        kinds.append(swatch);
      }
      kinds.append(step.kinds.map((kind) => data.kinds[kind]).join(' + '));
      const barCell = el('td', { class: 'share-cell' });
      const bar = el('div', { class: 'share-bar' });
      bar.style.width = (share(step.cycles, highest) * 100) + '%';
      barCell.append(bar);
      row.append(el('td', { class: 'muted' }, String(rank + 1)), el('td', { class: 'name' }, step.operation),
        el('td', { class: 'name' }, step.kernel), kinds, el('td', { class: 'number' }, number(step.samples)),
        el('td', { class: 'number' }, number(step.cycles)),
        el('td', { class: 'number' }, percent(share(step.cycles, total))), barCell);
      body.append(row);
    });
  }

  showFacts();
  showKindBar();
  buildHeatmap();
  buildTimelineTools();
  showCostliestSteps();
}());
