// The board (chessground) with its promotion picker, and the move list that
// moves through the game: a click on a move, or the arrow keys, Home and End.
import { Chessground } from 'chessground';
import 'chessground/assets/chessground.base.css';
import 'chessground/assets/chessground.brown.css';
import 'chessground/assets/chessground.cburnett.css';

const $ = id => document.getElementById(id);
const COLOURS = { w: 'white', b: 'black' };

// move({ from, to, promotion }) for each move made on the board; goTo(ply) to show another position.
export function createBoard({ move, goTo }) {
  const board = Chessground($('board'), {
    movable: { free: false, showDests: true, events: { after: userMove } },
    premovable: { enabled: false },
    animation: { duration: 150 },
  });
  let promotions = new Set();  // from+to of the promoting moves in the position shown

  function userMove(from, to) {
    if (!promotions.has(from + to)) return move({ from, to });
    const picker = $('promotion');
    picker.hidden = false;
    picker.onclick = ({ target }) => {
      if (!target.dataset.piece) return;
      picker.hidden = true;
      move({ from, to, promotion: target.dataset.piece });
    };
  }

  let ply = 0;
  let length = 0;
  $('moves').onclick = ({ target }) => target.dataset.ply && goTo(Number(target.dataset.ply));
  document.addEventListener('keydown', event => {
    if (event.target.closest('input, textarea, select') || event.altKey || event.ctrlKey || event.metaKey) return;
    const to = { ArrowLeft: ply - 1, ArrowRight: ply + 1, Home: 0, End: length }[event.key];
    if (to === undefined) return;
    event.preventDefault();
    if (to >= 0 && to <= length) goTo(to);
  });

  // Shows `record`'s position, movable by `mover` ('white', 'black', 'both' or none).
  return (record, chess, { orientation, mover, shapes }) => {
    ({ ply } = record);
    length = record.moves.length;
    const legal = mover ? chess.moves({ verbose: true }) : [];
    const dests = new Map();
    for (const { from, to } of legal) dests.set(from, [...(dests.get(from) ?? []), to]);
    promotions = new Set(legal.filter(legalMove => legalMove.promotion).map(({ from, to }) => from + to));
    const last = record.moves[ply - 1];
    board.set({
      fen: chess.fen(), orientation, turnColor: COLOURS[chess.turn()], check: chess.inCheck(),
      lastMove: last && [last.from, last.to], movable: { color: mover, dests },
    });
    board.setAutoShapes(shapes);
    showMoves(record);
  };
}

function showMoves({ moves, ply }) {
  const list = $('moves');
  list.replaceChildren(...moves.flatMap((move, index) => {
    const number = move.before.split(' ')[5];
    const label = move.color === 'w' ? `${number}.` : index === 0 ? `${number}…` : '';
    const item = Object.assign(document.createElement('button'), { type: 'button', textContent: move.san });
    item.dataset.ply = index + 1;
    item.classList.toggle('current', index + 1 === ply);
    return label ? [Object.assign(document.createElement('span'), { textContent: label }), item] : [item];
  }));
  const current = list.querySelector('.current');
  if (current) list.scrollTop = current.offsetTop - list.clientHeight / 2;
}
