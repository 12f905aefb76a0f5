// The Tagwright designer: the script on the left, its labels as the
// component draws them on the right, the check's findings on their lines.
// Everything comes from the tagwright program that served this page.
"use strict";

const token = new URLSearchParams(location.search).get("token") || "";
const $ = (id) => document.getElementById(id);
const editor = $("editor");
const gutter = $("gutter");
const backdrop = $("backdrop");
const labelsBox = $("labels");
const completion = $("completion");

const state = {
  dotsPerMm: 8,
  zoom: 1,
  rendering: null,       // the last rendering that drew (the pictures shown)
  findings: [],          // of the last answer
  scriptError: null,
  names: [],             // {name, other, kind, parameters}
  pointedLine: 0,        // the line of the element under the mouse
  currentLine: 1,
  serial: 0,             // of the last render asked for
  timings: [],           // {server, page} in ms, one per picture shown
  canSave: false,
  file: null,
};
window.tagwrightDesigner = state;  // for the browser tests

const LINE = 20;  // px, as style.css's --line
const DEBOUNCE = 120;

async function api(path, body) {
  const init = { headers: { "X-Tagwright-Token": token } };
  if (body !== undefined) {
    init.method = "POST";
    init.headers["Content-Type"] = "text/plain; charset=utf-8";
    init.body = body;
  }
  const response = await fetch(path, init);
  let reply = {};
  try { reply = await response.json(); } catch (e) { reply = { error: response.statusText }; }
  return { status: response.status, reply, response };
}

function say(text, bad) {
  $("message").textContent = text;
  $("message").className = bad ? "bad" : "";
}

// ---- the editor: line numbers, marks, the line under the cursor ----

function lineCount() { return editor.value.split("\n").length; }

function lineOfOffset(offset) {
  return editor.value.slice(0, offset).split("\n").length;
}

function offsetOf(line, column) {
  const lines = editor.value.split("\n");
  let offset = 0;
  for (let i = 0; i < line - 1 && i < lines.length; ++i) offset += lines[i].length + 1;
  const here = lines[Math.min(line, lines.length) - 1] || "";
  return offset + Math.min(Math.max(column - 1, 0), here.length);
}

function marksByLine() {
  const marks = new Map();
  const add = (line, severity) => {
    if (marks.get(line) !== "error") marks.set(line, severity);
  };
  for (const f of state.findings) add(f.line, f.severity);
  if (state.scriptError) add(state.scriptError.line, "error");
  return marks;
}

function drawGutter() {
  const count = lineCount();
  const marks = marksByLine();
  const rows = [];
  const shades = [];
  for (let line = 1; line <= count; ++line) {
    const classes = [];
    const mark = marks.get(line);
    if (mark) classes.push(mark);
    if (line === state.pointedLine) classes.push("pointed");
    rows.push(`<div data-line="${line}" class="${classes.join(" ")}">${line}</div>`);
    let shade = "";
    if (line === state.pointedLine) shade = "pointed";
    else if (mark) shade = mark;
    else if (line === state.currentLine) shade = "current";
    if (shade) shades.push(`<div class="${shade}" data-line="${line}" style-top="${line}"></div>`);
  }
  gutter.innerHTML = rows.join("");
  backdrop.innerHTML = shades.join("");
  for (const div of backdrop.children) {
    div.style.top = `${6 + (Number(div.dataset.line) - 1) * LINE}px`;
  }
  syncScroll();
}

function syncScroll() {
  gutter.scrollTop = editor.scrollTop;
  backdrop.scrollTop = editor.scrollTop;
  for (const div of backdrop.children) {
    div.style.transform = `translateY(${-editor.scrollTop}px)`;
  }
}

function moveCursor(line, column) {
  const at = offsetOf(line, column);
  editor.focus();
  editor.setSelectionRange(at, at);
  const top = (line - 1) * LINE;
  if (top < editor.scrollTop || top > editor.scrollTop + editor.clientHeight - 2 * LINE) {
    editor.scrollTop = Math.max(0, top - editor.clientHeight / 3);
  }
  cursorMoved();
}

function cursorMoved() {
  const line = lineOfOffset(editor.selectionStart);
  if (line !== state.currentLine) {
    state.currentLine = line;
    drawGutter();
  }
  for (const box of labelsBox.querySelectorAll(".element")) {
    box.classList.toggle("current", Number(box.dataset.line) === line);
  }
  showHint();
}

// ---- findings and the reader's error ----

function showFindings() {
  const list = $("findings");
  list.innerHTML = "";
  for (const f of state.findings) {
    if (state.scriptError && f.rule === "script-error") continue;
    const item = document.createElement("li");
    item.className = f.severity;
    item.dataset.line = f.line;
    item.innerHTML = `<span class="where"></span><span class="severity"></span> <span class="text"></span><span class="rule"></span>`;
    item.querySelector(".where").textContent = `${f.line}:${f.column}`;
    item.querySelector(".severity").textContent = f.severity;
    item.querySelector(".text").textContent = f.message;
    item.querySelector(".rule").textContent = `[${f.rule}]`;
    item.addEventListener("click", () => moveCursor(f.line, f.column));
    list.appendChild(item);
  }
  const error = $("error");
  if (state.scriptError) {
    error.hidden = false;
    error.textContent = state.scriptError.text;
    error.onclick = () => moveCursor(state.scriptError.line, state.scriptError.column);
  } else {
    error.hidden = true;
  }
}

// ---- the pictures ----

async function decodePictures(rendering) {
  return Promise.all(rendering.labels.map(async (label) => {
    if (!label.png) return null;
    const img = new Image();
    img.src = `data:image/png;base64,${label.png}`;
    try { await img.decode(); } catch (e) { /* shown as it is */ }
    return img;
  }));
}

function showLabels(rendering, pictures) {
  labelsBox.innerHTML = "";
  rendering.labels.forEach((label, index) => {
    const box = document.createElement("div");
    box.className = "label";
    box.dataset.label = index;
    const caption = document.createElement("div");
    caption.className = "caption";
    const mm = (d) => (d / rendering.dotsPerMm).toFixed(1).replace(/\.0$/, "");
    caption.textContent = `label ${index + 1}: ${label.width} x ${label.height} dots, ` +
      `${mm(label.width)} x ${mm(label.height)} mm` + (label.copies !== 1 ? `, ${label.copies} copies` : "");
    box.appendChild(caption);
    if (label.png) {
      const img = pictures && pictures[index] ? pictures[index] : new Image();
      if (!img.src) img.src = `data:image/png;base64,${label.png}`;
      img.alt = `label ${index + 1}`;
      img.width = label.width * state.zoom;
      img.height = label.height * state.zoom;
      box.appendChild(img);
    } else {
      const failed = document.createElement("div");
      failed.className = "failed";
      failed.textContent = label.error || "not drawn";
      box.appendChild(failed);
    }
    // The largest first, so that an element inside a box lies above it
    // and is the one the mouse points at.
    const area = (e) => (e.right - e.left) * (e.bottom - e.top);
    const elements = rendering.elements.filter((e) => e.label === index)
      .sort((a, b) => area(b) - area(a));
    for (const e of elements) {
      const outline = document.createElement("div");
      outline.className = "element";
      outline.dataset.line = e.line;
      outline.title = `${e.what} (line ${e.line})`;
      outline.style.left = `${e.left * state.zoom}px`;
      outline.style.top = `${e.top * state.zoom}px`;
      outline.style.width = `${Math.max(1, e.right - e.left) * state.zoom}px`;
      outline.style.height = `${Math.max(1, e.bottom - e.top) * state.zoom}px`;
      outline.addEventListener("mouseenter", () => pointAt(e.line));
      outline.addEventListener("mouseleave", () => pointAt(0));
      outline.addEventListener("click", () => moveCursor(e.line, e.column));
      box.appendChild(outline);
    }
    box.addEventListener("mousemove", (event) => showPosition(event, box, label));
    box.addEventListener("mouseleave", () => { $("position").textContent = "\u00a0"; });
    labelsBox.appendChild(box);
  });
  if (rendering.labels.length === 0) {
    labelsBox.textContent = "No label yet: a label is drawn when the script calls Print.";
  }
  cursorMoved();
}

function pointAt(line) {
  state.pointedLine = line;
  for (const box of labelsBox.querySelectorAll(".element")) {
    box.classList.toggle("pointed", line !== 0 && Number(box.dataset.line) === line);
  }
  drawGutter();
}

function showPosition(event, box, label) {
  const rect = box.getBoundingClientRect();
  const x = Math.floor((event.clientX - rect.left) / state.zoom);
  const y = Math.floor((event.clientY - rect.top) / state.zoom);
  if (x < 0 || y < 0 || x >= label.width || y >= label.height) return;
  const mm = (d) => (d / state.dotsPerMm).toFixed(2);
  $("position").textContent = `x ${x}, y ${y} dots  =  ${mm(x)} x ${mm(y)} mm`;
}

// ---- rendering as the user types ----

let debounce = 0;
function scheduleRender() {
  clearTimeout(debounce);
  debounce = setTimeout(render, DEBOUNCE);
}

async function render() {
  const serial = ++state.serial;
  const mark = `render-${serial}`;
  performance.mark(`${mark}-start`);
  let answer;
  try {
    answer = await api("/api/render", editor.value);
  } catch (e) {
    say(`the designer does not answer: ${e}`, true);
    return;
  }
  if (serial !== state.serial) return;  // a newer script is on its way
  const { status, reply, response } = answer;
  if (status !== 200 && status !== 422) {
    say(reply.error || `render: ${status}`, true);
    return;
  }
  state.findings = reply.findings;
  state.scriptError = reply.scriptError;
  showFindings();
  drawGutter();
  const server = /total;dur=([\d.]+)/.exec(response.headers.get("Server-Timing") || "");
  if (reply.scriptError) {
    // The last good pictures stay until the script reads again.
    labelsBox.classList.add("stale");
    say("the script does not read: the pictures are the last good ones", true);
    return;
  }
  labelsBox.classList.remove("stale");
  state.rendering = reply;
  state.dotsPerMm = reply.dotsPerMm;
  performance.mark(`${mark}-answered`);
  // The pictures are decoded before they replace the old ones, so that the
  // page never shows a half-drawn label and the swap takes one frame.
  const pictures = await decodePictures(reply);
  if (serial !== state.serial) return;
  performance.mark(`${mark}-decoded`);
  showLabels(reply, pictures);
  requestAnimationFrame(() => {
    performance.mark(`${mark}-shown`);
    const measure = performance.measure("keystroke-to-picture", `${mark}-start`, `${mark}-shown`);
    const answered = performance.measure("render-answered", `${mark}-start`, `${mark}-answered`);
    const decoded = performance.measure("pictures-decoded", `${mark}-answered`, `${mark}-decoded`);
    const serverMs = server ? Number(server[1]) : NaN;
    state.timings.push({ serial, server: serverMs, page: measure.duration,
                         answered: answered.duration, decoded: decoded.duration });
    $("timing").textContent = `server ${serverMs.toFixed(1)} ms, on screen ${measure.duration.toFixed(1)} ms`;
    state.shown = serial;
  });
  const errors = reply.findings.filter((f) => f.severity === "error").length;
  const warnings = reply.findings.length - errors;
  const said = reply.messages.length ? `  ${reply.messages.join("; ")}` : "";
  say(`${reply.labels.length} label(s), ${errors} error(s), ${warnings} warning(s)${said}`,
      reply.messages.length > 0 || reply.tooLarge);
}

// ---- completion of names, and the arguments of the call being typed ----

let choices = [];
let chosen = 0;

function wordBeforeCursor() {
  const before = editor.value.slice(0, editor.selectionStart);
  const match = /[A-Za-z\u0400-\u04FF_][A-Za-z0-9\u0400-\u04FF_]*$/.exec(before);
  return match ? match[0] : "";
}

function offerCompletion() {
  const word = wordBeforeCursor();
  if (word.length < 2) return closeCompletion();
  const lower = word.toLowerCase();
  choices = state.names.filter((n) => n.name.toLowerCase().startsWith(lower) && n.name !== word);
  if (choices.length === 0) return closeCompletion();
  chosen = 0;
  completion.innerHTML = "";
  choices.slice(0, 30).forEach((n, i) => {
    const item = document.createElement("li");
    item.textContent = n.kind === "method" ? `${n.name}(${n.parameters.join(", ")})` : n.name;
    const other = document.createElement("span");
    other.className = "other";
    other.textContent = n.other;
    item.appendChild(other);
    item.addEventListener("mousedown", (event) => { event.preventDefault(); accept(i); });
    completion.appendChild(item);
  });
  const line = lineOfOffset(editor.selectionStart);
  const before = editor.value.slice(0, editor.selectionStart);
  const column = before.length - before.lastIndexOf("\n") - 1;
  completion.style.top = `${6 + line * LINE - editor.scrollTop}px`;
  completion.style.left = `${8 + Math.max(0, column - word.length) * 7.8 - editor.scrollLeft}px`;
  completion.hidden = false;
  highlightChoice();
}

function highlightChoice() {
  [...completion.children].forEach((li, i) => li.classList.toggle("chosen", i === chosen));
}

function closeCompletion() {
  completion.hidden = true;
  choices = [];
}

function accept(index) {
  const n = choices[index];
  const word = wordBeforeCursor();
  const start = editor.selectionStart - word.length;
  const insert = n.kind === "method" ? `${n.name}(` : `${n.name} = `;
  editor.setRangeText(insert, start, editor.selectionStart, "end");
  closeCompletion();
  drawGutter();
  showHint();
  scheduleRender();
}

// The call the cursor is in: its method's arguments, the current one in bold.
function showHint() {
  const before = editor.value.slice(0, editor.selectionStart);
  const line = before.slice(before.lastIndexOf("\n") + 1);
  const open = /([A-Za-z\u0400-\u04FF_][A-Za-z0-9\u0400-\u04FF_]*)\s*\(([^()]*)$/.exec(line);
  const hint = $("hint");
  if (!open) { hint.textContent = ""; return; }
  const method = state.names.find((n) => n.kind === "method" &&
    (n.name.toLowerCase() === open[1].toLowerCase()));
  if (!method) { hint.textContent = ""; return; }
  const argument = (open[2].replace(/"[^"]*"?/g, "").match(/,/g) || []).length;
  hint.innerHTML = "";
  hint.append(`${method.name}(`);
  method.parameters.forEach((p, i) => {
    if (i) hint.append(", ");
    if (i === argument) {
      const b = document.createElement("b");
      b.textContent = p;
      hint.append(b);
    } else {
      hint.append(p);
    }
  });
  hint.append(`)  ${method.other}`);
}

// ---- save and print ----

async function save() {
  if (!state.canSave) {
    const link = document.createElement("a");
    link.href = URL.createObjectURL(new Blob([editor.value], { type: "text/plain" }));
    link.download = "label.tws";
    link.click();
    URL.revokeObjectURL(link.href);
    say("downloaded as label.tws");
    return;
  }
  const { status, reply } = await api("/api/save", editor.value);
  if (status === 200) say(`saved ${reply.saved}`);
  else say(reply.error || `save: ${status}`, true);
}

async function print() {
  const answerBox = $("print-answer");
  answerBox.textContent = "printing...";
  answerBox.className = "";
  const { status, reply } = await api("/api/print", editor.value);
  answerBox.textContent = (reply.answer || reply.error || `print: ${status}`).trim();
  answerBox.className = reply.sent ? "" : "bad";
}

// ---- zoom ----

function setZoom(zoom) {
  state.zoom = Math.min(8, Math.max(0.5, zoom));
  $("zoom").textContent = `${state.zoom}\u00d7`;
  if (state.rendering) showLabels(state.rendering, null);
}

// ---- start ----

async function start() {
  const [session, names] = await Promise.all([api("/api/session"), api("/api/names")]);
  if (session.status !== 200) {
    document.body.textContent = `The designer refused this page: ${session.reply.error || session.status}`;
    return;
  }
  const s = session.reply;
  state.dotsPerMm = s.dotsPerMm;
  state.canSave = s.canSave;
  state.file = s.file;
  $("file").textContent = s.file || "new script (Save downloads it)";
  $("dpi").textContent = `${s.dotsPerMm === 12 ? 300 : 203} dpi`;
  if (s.canPrint) {
    $("print").hidden = false;
    // Whether the printer is asked afterwards depends on the device and the
    // system: the answer under the script says what happened.
    $("print").title = `print to ${s.printTarget}`;
  } else {
    $("print").remove();
  }
  for (const p of names.reply.properties) {
    state.names.push({ name: p.english, other: p.russian, kind: "property", parameters: [] });
    state.names.push({ name: p.russian, other: p.english, kind: "property", parameters: [] });
  }
  for (const m of names.reply.methods) {
    state.names.push({ name: m.english, other: m.russian, kind: "method", parameters: m.parameters });
    state.names.push({ name: m.russian, other: m.english, kind: "method", parameters: m.parameters });
  }
  editor.value = s.script;
  drawGutter();
  render();
}

editor.addEventListener("input", () => { drawGutter(); offerCompletion(); scheduleRender(); });
editor.addEventListener("scroll", syncScroll);
for (const type of ["click", "keyup", "select"]) editor.addEventListener(type, cursorMoved);
editor.addEventListener("keydown", (event) => {
  if (!completion.hidden && choices.length) {
    const shown = Math.min(choices.length, 30);
    if (event.key === "ArrowDown") { chosen = (chosen + 1) % shown; highlightChoice(); event.preventDefault(); return; }
    if (event.key === "ArrowUp") { chosen = (chosen + shown - 1) % shown; highlightChoice(); event.preventDefault(); return; }
    if (event.key === "Enter" || event.key === "Tab") { accept(chosen); event.preventDefault(); return; }
    if (event.key === "Escape") { closeCompletion(); event.preventDefault(); return; }
  }
  if (event.key === "s" && (event.ctrlKey || event.metaKey)) { event.preventDefault(); save(); }
});
editor.addEventListener("blur", () => setTimeout(closeCompletion, 150));
$("save").addEventListener("click", save);
$("print").addEventListener("click", print);
$("zoom-in").addEventListener("click", () => setZoom(state.zoom * 2));
$("zoom-out").addEventListener("click", () => setZoom(state.zoom / 2));
start();
