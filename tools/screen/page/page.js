"use strict";

// The live device's page: every control sends a pocketsim line; the journal and the picture
// follow the server, so that every page open on it shows the same device.

const screenImage = document.getElementById("screen");
const eventList = document.getElementById("events");
const lastStatus = document.getElementById("last-status");
const deviceState = document.getElementById("device-state");

let shownVersion = 0;
let lastSequence = 0;
const kMaxEventsShown = 2000;
const kMoveInterval = 40;  // ms between stylus moves sent while the pen is down

function showPicture(version) {
  if (version > shownVersion) {
    shownVersion = version;
    screenImage.src = "/screen.png?v=" + version;
  }
}

function report(answer) {
  lastStatus.className = answer.status || "refused";
  lastStatus.textContent = answer.error ? answer.error : (answer.ran || []).join("; ") + " → " + answer.status;
  if (answer.version) showPicture(answer.version);
}

async function post(path, body) {
  try {
    const response = await fetch(path, { method: "POST", body });
    const answer = await response.json();
    report(answer);
    return answer;
  } catch (error) {
    report({ error: "the server does not answer: " + error });
    return null;
  }
}

function runCommand(line) {
  return post("/command", line);
}

// Touches go one after another: a move must not overtake the down before it.
let touches = Promise.resolve();
function sendTouch(kind, point) {
  touches = touches.then(() => post("/touch", JSON.stringify({ kind, x: point.x, y: point.y })));
}

function screenPoint(event) {
  const box = screenImage.getBoundingClientRect();
  const width = screenImage.naturalWidth || 240;
  const height = screenImage.naturalHeight || 320;
  const clamp = (value, size) => Math.min(size - 1, Math.max(0, Math.floor(value)));
  return {
    x: clamp((event.clientX - box.left - screenImage.clientLeft) * width / screenImage.clientWidth, width),
    y: clamp((event.clientY - box.top - screenImage.clientTop) * height / screenImage.clientHeight, height),
  };
}

let pressed = false;
let pendingMove = null;
let moveTimer = null;
screenImage.addEventListener("mousedown", (event) => {
  if (event.button !== 0) return;
  event.preventDefault();
  pressed = true;
  sendTouch("down", screenPoint(event));
});
window.addEventListener("mousemove", (event) => {
  if (!pressed) return;
  pendingMove = screenPoint(event);
  if (moveTimer === null) {
    moveTimer = setTimeout(() => {
      moveTimer = null;
      if (pressed && pendingMove) sendTouch("move", pendingMove);
      pendingMove = null;
    }, kMoveInterval);
  }
});
window.addEventListener("mouseup", (event) => {
  if (!pressed || event.button !== 0) return;
  pressed = false;
  pendingMove = null;
  sendTouch("up", screenPoint(event));
});

for (const button of document.querySelectorAll("[data-key]")) {
  button.addEventListener("click", () => runCommand("press " + button.dataset.key));
}
for (const button of document.querySelectorAll("[data-command]")) {
  button.addEventListener("click", () => runCommand(button.dataset.command));
}

const batterySlider = document.getElementById("battery-slider");
const batteryLevel = document.getElementById("battery-level");
batterySlider.addEventListener("input", () => { batteryLevel.value = batterySlider.value; });
batteryLevel.addEventListener("input", () => { batterySlider.value = batteryLevel.value; });
document.getElementById("battery-apply").addEventListener("click", () => {
  const level = Math.min(100, Math.max(0, Math.round(Number(batteryLevel.value) || 0)));
  const line = document.getElementById("battery-line").value;
  const charging = document.getElementById("battery-charging").checked ? " charging" : "";
  runCommand(`power ${line} ${level}${charging}`);
});

document.getElementById("command-form").addEventListener("submit", (event) => {
  event.preventDefault();
  const input = document.getElementById("command-line");
  if (input.value.trim() !== "") runCommand(input.value).then(() => input.select());
});

function addEvent(entry) {
  const item = document.createElement("li");
  item.value = entry.sequence;
  item.dataset.sequence = entry.sequence;
  item.dataset.status = entry.status;
  item.dataset.recorded = entry.recorded;
  item.className = entry.status + " " + entry.source;
  const line = document.createElement("div");
  line.className = "line";
  line.textContent = entry.line;
  const lines = document.createElement("pre");
  lines.className = "lines";
  lines.textContent = entry.lines.join("\n");
  item.append(line, lines);
  eventList.append(item);
}

// Long polls: the server answers as soon as there is news, or after a while with none.
async function followJournal() {
  for (;;) {
    const asked = Date.now();
    try {
      const response = await fetch("/events?after=" + lastSequence);
      const answer = await response.json();
      if (answer.last < lastSequence) {  // a new server on the same port: its journal from the start
        eventList.replaceChildren();
        lastSequence = 0;
        shownVersion = 0;
        continue;
      }
      const atBottom = eventList.scrollHeight - eventList.scrollTop - eventList.clientHeight < 40;
      for (const entry of answer.events) addEvent(entry);
      while (eventList.childElementCount > kMaxEventsShown) eventList.firstElementChild.remove();
      if (answer.events.length) lastSequence = answer.events[answer.events.length - 1].sequence;
      if (atBottom) eventList.scrollTop = eventList.scrollHeight;
      showPicture(answer.version);
      deviceState.className = answer.stopped ? "stopped" : "running";
      deviceState.textContent = answer.stopped ? "stopped: " + answer.stopped : "running";
      // With many pages open the server answers some at once rather than holding them: not a busy loop.
      if (!answer.events.length && Date.now() - asked < 1000) await new Promise((done) => setTimeout(done, 1000));
    } catch (error) {
      deviceState.className = "stopped";
      deviceState.textContent = "the server does not answer";
      await new Promise((done) => setTimeout(done, 1000));
    }
  }
}

followJournal();
