// The page's state in the browser's storage, so that a reload loses nothing.
const KEY = 'pelko-page';

export function load() {
  try {
    return JSON.parse(localStorage.getItem(KEY)) ?? {};
  } catch {
    return {};  // storage closed to the page, or damaged: start afresh
  }
}

export function save(state) {
  try {
    localStorage.setItem(KEY, JSON.stringify(state));
  } catch {
    // a full or closed storage only costs the reload
  }
}
