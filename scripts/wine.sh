#!/usr/bin/env bash
# Runs Debian's 64-bit Wine loader (usage: wine.sh PROGRAM [ARGS]) with the
# address space laid out the same every time, for the loader and every Windows
# process it starts.
# Debian builds Wine without its preloader, so Wine claims its fixed pages only
# after the loader runs. The loader sits at 0x7d000000 and the kernel puts the
# heap anywhere in the 1 GB above it; about once in five hundred starts the heap
# covers the shared user data page at 0x7ffe0000 and Wine ends with "failed to
# map the shared user data". Unrandomized, the heap starts right after the loader.
exec setarch "$(uname -m)" --addr-no-randomize /usr/lib/wine/wine64 "$@"
