// Move sounds made by zzfx: no sound files to serve.
import { zzfx, ZZFX } from 'zzfx';

const SOUNDS = {
  move: [1.2, 0, 220, 0, 0.01, 0.04, 4, 0, 0, 0, 0, 0, 0, 0.3],
  capture: [1.6, 0, 140, 0, 0.02, 0.09, 4, 0, 0, 0, 0, 0, 0, 0.6],
};

export function play(move) {
  ZZFX.audioContext.resume();  // a context made before the first click starts suspended
  zzfx(...SOUNDS[move.captured ? 'capture' : 'move']);
}
