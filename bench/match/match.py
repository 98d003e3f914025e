#!/usr/bin/env python3
"""Plays two Reversi players against each other over fixed openings and prints the result.

    match.py PLAYER_A PLAYER_B [--openings 20] [--seed 13] [--gtp build/bench-bin/engine_gtp]

A player is the path of an engine library (TEKUM.DLL, driven through engine_gtp), or
rhino:<level> for GRhino's GTP engine (/usr/games/gtp-rhino -l <level>, from the Debian package
grhino; used for benchmarking only), or gtp:<command line> for any other GTP program.

The openings are 6 random legal moves from the start, drawn with a fixed seed, distinct from
each other; each is played twice, once with A as black (the side that moves first) and once
with A as white. engine_gtp without a library keeps the board as referee: it checks every move,
lists the legal ones for the openings and counts the final score, so the rules live in the
program's own board model. Not part of the test suite: a 40-game match takes minutes to hours.
"""
import argparse
import random
import shlex
import statistics
import subprocess
import sys
import time
from pathlib import Path

COLOURS = ("black", "white")


class Gtp:
    def __init__(self, command):
        self.command = command
        self.process = subprocess.Popen(command, stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                        stderr=subprocess.DEVNULL, text=True)
        self.move_seconds = []

    def ask(self, line):
        self.process.stdin.write(line + "\n")
        self.process.stdin.flush()
        lines = []
        while True:
            reply = self.process.stdout.readline()
            if not reply:
                raise RuntimeError(f"{self.command[0]} ended while answering {line!r}")
            if reply.strip() == "":
                if lines:
                    break
                continue
            lines.append(reply.rstrip("\n"))
        head = lines[0]
        if head.startswith("?"):
            raise RuntimeError(f"{self.command[0]}: {line!r} -> {head}")
        return " ".join([head[1:].strip()] + lines[1:]).strip()

    def genmove(self, colour):
        start = time.monotonic()
        move = self.ask(f"genmove {colour}").lower()
        self.move_seconds.append(time.monotonic() - start)
        return move

    def close(self):
        try:
            self.ask("quit")
        except (RuntimeError, BrokenPipeError):
            pass
        self.process.wait(timeout=10)


def player_command(player, gtp):
    if player.startswith("rhino:"):
        return ["/usr/games/gtp-rhino", "-l", player.split(":", 1)[1]]
    if player.startswith("gtp:"):
        return shlex.split(player.split(":", 1)[1])
    if not Path(player).is_file():
        sys.exit(f"no engine library at {player}")
    return [gtp, str(Path(player).resolve())]


def make_openings(referee, count, seed):
    rng = random.Random(seed)
    openings = set()
    while len(openings) < count:
        referee.ask("clear_board")
        moves = []
        for ply in range(6):
            colour = COLOURS[ply % 2]
            legal = referee.ask(f"legal_moves {colour}").split()
            move = rng.choice(legal)
            referee.ask(f"play {colour} {move}")
            moves.append(move)
        openings.add(tuple(moves))
    return sorted(openings)


def start_game(players, referee, opening):
    for gtp in players + [referee]:
        gtp.ask("boardsize 8")
        gtp.ask("clear_board")
        for ply, move in enumerate(opening):
            gtp.ask(f"play {COLOURS[ply % 2]} {move}")


def play_game(black, white, referee, opening):
    """Returns black's lead in stones at the end (negative when white leads)."""
    start_game([black, white], referee, opening)
    by_colour = {"black": black, "white": white}
    ply, passes = len(opening), 0
    while passes < 2:
        colour, other = COLOURS[ply % 2], COLOURS[(ply + 1) % 2]
        move = by_colour[colour].genmove(colour)
        if move == "resign":
            return -64 if colour == "black" else 64
        try:
            referee.ask(f"play {colour} {move}")
        except RuntimeError:
            print(f"  illegal move {move} by {colour}: counted as a loss", flush=True)
            return -64 if colour == "black" else 64
        if move != "pass":  # GTP Reversi programs pass for the side that cannot move by themselves
            by_colour[other].ask(f"play {colour} {move}")
        passes = passes + 1 if move == "pass" else 0
        ply += 1
    score = referee.ask("final_score")
    if score == "0":
        return 0
    return int(score[2:]) * (1 if score[0] == "B" else -1)


def describe_times(name, seconds):
    if not seconds:
        return f"{name}: no moves"
    return (f"{name}: {len(seconds)} moves, mean {statistics.mean(seconds):.3f} s, "
            f"median {statistics.median(seconds):.3f} s, max {max(seconds):.3f} s")


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("a")
    parser.add_argument("b")
    parser.add_argument("--openings", type=int, default=20)
    parser.add_argument("--seed", type=int, default=13)
    default_gtp = Path(__file__).resolve().parents[2] / "build" / "bench-bin" / "engine_gtp"
    parser.add_argument("--gtp", default=str(default_gtp), help="the engine_gtp program")
    args = parser.parse_args()

    referee = Gtp([args.gtp])
    a = Gtp(player_command(args.a, args.gtp))
    b = Gtp(player_command(args.b, args.gtp))
    openings = make_openings(referee, args.openings, args.seed)
    wins = losses = draws = lead_total = 0
    for number, opening in enumerate(openings, 1):
        for a_colour in COLOURS:
            black, white = (a, b) if a_colour == "black" else (b, a)
            lead = play_game(black, white, referee, opening)
            a_lead = lead if a_colour == "black" else -lead
            lead_total += a_lead
            wins += a_lead > 0
            losses += a_lead < 0
            draws += a_lead == 0
            print(f"opening {number:2} {' '.join(opening)}  A as {a_colour}: {a_lead:+d}", flush=True)
    games = wins + losses + draws
    print(f"\nA = {args.a}\nB = {args.b}")
    print(f"A: {wins} wins, {losses} losses, {draws} draws of {games}; "
          f"score {100.0 * (wins + draws / 2) / games:.1f}%; mean stone lead {lead_total / games:+.1f}")
    print(describe_times("A", a.move_seconds))
    print(describe_times("B", b.move_seconds))
    for gtp in (a, b, referee):
        gtp.close()


if __name__ == "__main__":
    main()
