# Front door of the project. `make` builds, `make test` builds and runs every
# test under the sanitizers, `make bench` runs the benchmarks on an optimised
# build, `make demo` runs a whole fiscal day on the simulated printer.
.PHONY: all configure build test bench demo format clean

all: build

configure:
	cmake --preset debug

build: configure
	cmake --build --preset debug

test: build
	ctest --preset debug

bench:
	cmake --preset release
	cmake --build --preset release
	@set -e; for b in build/release/bin/bench_*; do echo "== $$b"; "$$b"; done

demo: build
	rm -rf demo-run && mkdir -p demo-run
	cd demo-run && ZEL_LIBRARY_PATH=$(CURDIR)/build/debug/lib $(CURDIR)/build/debug/bin/ecfhost demo

format:
	git ls-files '*.cc' '*.h' | xargs clang-format -i

clean:
	rm -rf build demo-run
