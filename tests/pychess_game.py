"""A game in pychess set up as doc/linux-guis.md says (its example engines.json, ENGINE as the command, "-l" added,
in a fresh home): pychess's own modules play the UCI entry (white) against the xboard entry, with its book.
Fails unless the game reaches 60 plies or ends by the rules, no move refused, both logs in pychess's engine
folder.  Usage: xvfb-run -a /usr/bin/python3 pychess_game.py ENGINE doc/pychess-engines.json"""
import asyncio, json, os, shutil, sys, tempfile

home = tempfile.mkdtemp(prefix="pelko_pychess_")
os.environ.update(HOME=home, XDG_CONFIG_HOME=f"{home}/.config", XDG_DATA_HOME=f"{home}/.local/share",
                  XDG_CACHE_HOME=f"{home}/.cache", PATH="/usr/bin:/bin")  # no other engine to discover
entries = [dict(entry, command=os.path.abspath(sys.argv[1]), args=["-l"]) for entry in json.load(open(sys.argv[2]))]
os.makedirs(f"{home}/.config/pychess")
json.dump(entries, open(f"{home}/.config/pychess/engines.json", "w"))
from pychess.Players.engineNest import discoverer  # reads the set-up when imported
from pychess.Utils import const, GameModel, TimeModel
from pychess.Variants.normal import NormalBoard


async def play():
    found, over = asyncio.Event(), asyncio.Event()
    discoverer.connect("all_engines_discovered", lambda *_: found.set())
    discoverer.discover()
    await asyncio.wait_for(found.wait(), 60)
    players = [await discoverer.initPlayerEngine(discoverer.getEngineByName(entry["name"]), color, 20, NormalBoard,
                                                 20, 0.2) for entry, color in zip(entries, (const.WHITE, const.BLACK))]
    game = GameModel.GameModel(TimeModel.TimeModel(20, 0.2))
    game.setPlayers(players)
    game.connect("game_ended", lambda *_: over.set())
    game.connect("game_changed", lambda _, ply: ply >= 60 and over.set())
    game.start()
    await asyncio.wait([asyncio.create_task(over.wait())], timeout=180)
    uci, xboard = (open(f"{home}/.local/share/pychess/engines/Pelko_2_x64_{name}.log").read() for name in ("uci", "wb"))
    print(f"{game.ply} plies, reason {game.reason}, moves {uci.count('bestmove ')} + {xboard.count(chr(10) + 'move ')}")
    for player in players:
        player.kill(const.UNKNOWN_REASON)
    ok = (game.ply >= 60 or game.reason in (const.WON_MATE, const.DRAW_STALEMATE, const.DRAW_REPETITION,
                                            const.DRAW_50MOVES, const.DRAW_INSUFFICIENT)) and \
        all(player.invalid_move is None for player in players) and "bestmove " in uci and \
        "\nmove " in xboard and "Illegal move" not in xboard
    if ok:  # a failure leaves the home with pychess's files and the logs
        shutil.rmtree(home)
    return ok


sys.exit(0 if asyncio.new_event_loop().run_until_complete(play()) else 1)
