# wolt — the two commands of the README, and the steps behind them.
#   make run    builds everything and starts wolt on the bundled sample data
#   make test   installs missing packages (as root), builds both trees, runs every test
#   make dist   zips the run folder (wolt.exe, Data, text, README) into build/wolt-1.45.zip
#   make e2e N=5  builds, then runs the two end-to-end stages N times in a row
NATIVE := build/native
WIN64  := build/win64
FUZZ   := build/fuzz
JOBS   ?= 2

.PHONY: run dist test e2e setup native win64 fuzz bench clean

setup:
	@bash scripts/setup.sh

native: setup
	@cmake -S . -B $(NATIVE) -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
	@ninja -C $(NATIVE) -j $(JOBS)

win64: setup
	@cmake -S . -B $(WIN64) -G Ninja -DCMAKE_BUILD_TYPE=Release \
	  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake >/dev/null
	@ninja -C $(WIN64) -j $(JOBS)

fuzz: setup
	@CC=clang CXX=clang++ cmake -S . -B $(FUZZ) -G Ninja -DWOLT_FUZZ=ON \
	  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@ninja -C $(FUZZ) -j $(JOBS)

run: native win64
	@bash scripts/run.sh

dist: native win64
	@bash scripts/run.sh --dist

test: native win64 fuzz
	@bash scripts/test.sh

N ?= 1
e2e: native win64
	@bash scripts/test.sh --e2e $(N)

bench: native win64
	@bash scripts/bench.sh

clean:
	rm -rf build
