// A game's two clocks in milliseconds. The running one counts from `since`, in
// wall time, so that time away from a reloaded page counts as on a real clock.
export function createClock(base, inc) {
  return { w: base, b: base, inc, running: null, since: Date.now() };
}

export function left(clock, colour) {
  return clock[colour] - (clock.running === colour ? Date.now() - clock.since : 0);
}

// Stops the running clock, at zero if its flag has fallen, then runs `colour`'s (none: null).
export function run(clock, colour) {
  if (clock.running) clock[clock.running] = Math.max(0, left(clock, clock.running));
  clock.running = colour;
  clock.since = Date.now();
}

// After `mover`'s move: the increment, and the other clock runs.
export function press(clock, mover) {
  run(clock, mover === 'w' ? 'b' : 'w');
  clock[mover] += clock.inc;
}

// m:ss, and tenths in the last 20 seconds.
export function clockText(ms) {
  const tenths = Math.floor(Math.max(0, ms) / 100);
  const text = `${Math.floor(tenths / 600)}:${String(Math.floor(tenths / 10) % 60).padStart(2, '0')}`;
  return tenths < 200 ? `${text}.${tenths % 10}` : text;
}
