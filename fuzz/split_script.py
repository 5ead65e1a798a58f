#!/usr/bin/env python3
"""Writes fuzz/scripts/part_*.ui: the shipped UI script cut into small scripts
of a few related screens each (comments left out), so that fuzz_calls compiles a few dialogs per input
instead of the whole file. Each script also carries the message boxes and the
script console, which the fuzzer's calls open over any screen. Every dialog of
the shipped script lands in exactly one family; a dialog this table does not
name stops the run, so a new screen is not left out silently.

Usage: python3 fuzz/split_script.py [--check]   (from the repository root)
--check writes nothing and fails when a part differs from what it would write.
"""
import re
import sys

SHIPPED = "assets/data/script/ui/ui_script.txt"
FRAMEWORK = ("MBOX_OK", "MESSAGEBOX2", "SCRIPTCONSOLE")
FAMILIES = {
    "front_end": ("MAINMENU", "SELECTIDMENU", "SELECTIDNEWIDMENU", "DEMOPLAY"),
    "front_end_gallery": ("GALLERY",),
    "single_player_missions": ("SELECTMISSIONMENU",),
    "single_player_briefing": ("OBJECTIVE", "MISSIONLOADING"),
    "single_player_in_mission": ("SINGLEPLAYESC", "SINGLEPLAYSURRENDER", "SINGLEPLAYRESTART",
                                 "SINGLEPLAYEXIT", "SINGLEPLAYMISSIONOBJECTIVE"),
    "single_player_results": ("STATISTICSMENU", "MISSIONFAILEDMENU", "MISSIONENDINGMENU"),
    "multiplayer_setup": ("MULTIPLAYSELECTMENU", "SERVERMENU"),
    "multiplayer_create": ("CREATEMENU", "DEATHMATCH", "TEAMDEATHMATCH", "HEADHUNTER", "PUSHOUT",
                           "LASTSTANDING", "ALLKILL", "SHOWDOWN", "HUNTER", "KINGATTACK"),
    "multiplayer_room": ("ROOMMENU",),
    "online_lobby_accounts": ("LOGINMENU", "NEWIDMENU", "CHANGEPASSMENU", "CREATECHANNEL"),
    "online_lobby_channels": ("KORVONETMENU", "JOINMENU"),
    "options": ("OPTIONMENU", "OPTIONGRAPHIC", "OPTIONSOUND", "OPTIONNETWORK"),
    "options_controls": ("OPTIONCONTROLS", "OPTIONCONTROLSMESSAGE", "OPTIONMACROMENU"),
    "overlays_hud": ("PLAYINTERFACE", "PLAYCHAT", "PLAYTAB", "MULTIPLAYGAMEOVER"),
    "overlays_menus": ("GAMELOADING", "MULTIPLAYESC", "LEAVEGAME", "EXITGAME"),
}


def without_comments(line):
    """The line without a // comment outside double quotes (its end kept)."""
    quoted = False
    for i, c in enumerate(line):
        if c == '"':
            quoted = not quoted
        elif not quoted and line.startswith("//", i):
            kept = line[:i].rstrip()
            return kept + "\n" if kept else ""
    return line


def dialogs(text):
    """The DIALOG ... END blocks of the script by id, in order."""
    blocks, current, lines = {}, None, []
    for line in text.splitlines(keepends=True):
        m = re.match(r'DIALOG\s+"[^"]*"\s+(\S+)', line)
        if m:
            current, lines = m.group(1), []
        if current:
            lines.append(without_comments(line))
            if line.strip() == "END":
                blocks[current] = "".join(lines)
                current = None
    return blocks


def main():
    blocks = dialogs(open(SHIPPED, encoding="latin-1").read())
    named = set(FRAMEWORK).union(*FAMILIES.values())
    if sum(len(ids) for ids in FAMILIES.values()) + len(FRAMEWORK) != len(named):
        sys.exit("split_script: a dialog is named twice")
    unknown = [d for d in blocks if d not in named]
    missing = [d for d in named if d not in blocks]
    if unknown or missing:
        sys.exit(f"split_script: not in a family: {unknown}; not in the script: {missing}")
    check = "--check" in sys.argv[1:]
    stale = []
    for family, ids in FAMILIES.items():
        path = f"fuzz/scripts/part_{family}.ui"
        text = f"// {family}: cut from the shipped UI script by fuzz/split_script.py\n"
        text += "".join(blocks[d] for d in FRAMEWORK + ids)
        if not check:
            with open(path, "w", encoding="latin-1", newline="") as out:
                out.write(text)
            continue
        try:
            current = open(path, encoding="latin-1", newline="").read()
        except OSError:
            current = None
        if current != text:
            stale.append(path)
    if stale:
        sys.exit("split_script: out of date (run python3 fuzz/split_script.py): " + " ".join(stale))


if __name__ == "__main__":
    main()
