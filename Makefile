# Front door of the project. `make` builds, `make test` builds and runs every
# test under the sanitizers, `make bench` runs the benchmarks on an optimised
# build, `make demo` runs a whole fiscal day on the simulated printer.
# `make install PREFIX=...` installs an optimised build, `make example`
# builds and runs examples/host against a temporary installation, and
# `make test-windows` / `make demo-windows` do the Windows build with
# mingw-w64 and run it under wine. `make deps` installs what is missing.
.PHONY: all deps configure build test bench demo dist install example windows test-windows \
	demo-windows format clean

PREFIX ?= /usr/local
WINE64 ?= $(firstword $(wildcard /usr/lib/wine/wine64 /usr/lib/x86_64-linux-gnu/wine/wine64) wine64)
# Wine's own notes about what it does not emulate are of no interest here.
export WINEDEBUG ?= -all

all: build

deps:
	tools/install-deps

configure: deps
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

dist: deps
	cmake --preset dist
	cmake --build --preset dist

install: dist
	cmake --install build/dist --prefix $(PREFIX)

example: dist
	tools/check-example build/dist

windows:
	tools/install-deps windows
	cmake --preset windows
	cmake --build --preset windows -j2

test-windows: windows
	@# The first program started sets up wine's prefix; do it before the
	@# tests start two at a time.
	$(WINE64) build/windows/bin/ecfhost.exe --help >/dev/null
	ctest --preset windows

demo-windows: windows
	rm -rf demo-run-windows && mkdir -p demo-run-windows
	cd demo-run-windows && $(WINE64) $(CURDIR)/build/windows/bin/ecfhost.exe demo

format:
	git ls-files '*.cc' '*.h' | xargs clang-format -i

clean:
	rm -rf build demo-run demo-run-windows
