# Front door of the project. `make` builds, `make test` builds and runs every
# test under the sanitizers, `make bench` runs the benchmarks on an optimised
# build, `make demo` builds the host alone, optimised, and runs a whole fiscal
# day on the simulated printer,
# `make fuzz` runs every fuzz target for FUZZ_SECONDS seconds (clang build).
# `make install PREFIX=...` installs an optimised build, `make example`
# builds and runs examples/host against a temporary installation, and
# `make test-windows` / `make demo-windows` do the Windows build with
# mingw-w64 and run it under wine. `make deps` installs what is missing.
.PHONY: all deps configure build test bench demo fuzz dist install example windows test-windows \
	demo-windows format clean

FUZZ_SECONDS ?= 60
PREFIX ?= /usr/local
WINE64 ?= $(firstword $(wildcard /usr/lib/wine/wine64 /usr/lib/x86_64-linux-gnu/wine/wine64) wine64)
WINESERVER ?= $(firstword $(wildcard /usr/lib/wine/wineserver64 /usr/lib/x86_64-linux-gnu/wine/wineserver64) wineserver)
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

# The demo needs the host program and the libraries it loads, nothing else:
# the ecfhost target alone, without tests or sanitizers, optimised at -O1
# (a third less compile time than -O3 on a fresh clone), in its own folder so
# that `make install` keeps the dist preset's -O3. GCC 12 reports false
# uninitialised values at -O1 (an std::optional in the simulated printer);
# the debug and dist builds keep that warning as an error.
DEMO_FLAGS = -O1 -DNDEBUG -Wno-maybe-uninitialized
demo: deps
	cmake --preset dist -B build/demo "-DCMAKE_CXX_FLAGS_RELEASE=$(DEMO_FLAGS)"
	cmake --build build/demo --target ecfhost
	rm -rf demo-run && mkdir -p demo-run
	cd demo-run && ZEL_LIBRARY_PATH=$(CURDIR)/build/demo/lib $(CURDIR)/build/demo/bin/ecfhost demo

# Each target starts from its committed seeds (fuzz/corpus/<target>, read
# only), with its dictionary fuzz/<target>.dict when there is one, and keeps
# what it learns in build/fuzz/corpus/<target>; a crash, a hang or an
# allocation past the memory limit is saved in build/fuzz/artifacts/ and
# fails the run.
fuzz:
	tools/install-deps fuzz
	cmake --preset fuzz
	cmake --build --preset fuzz
	@set -e; for seeds in fuzz/corpus/*/; do \
	  t=$$(basename $$seeds); \
	  mkdir -p build/fuzz/corpus/$$t build/fuzz/artifacts; \
	  echo "== $$t ($(FUZZ_SECONDS) s)"; \
	  dict=; if [ -f fuzz/$$t.dict ]; then dict=-dict=fuzz/$$t.dict; fi; \
	  build/fuzz/bin/$$t -max_total_time=$(FUZZ_SECONDS) -timeout=10 -rss_limit_mb=2048 \
	    -print_final_stats=1 -artifact_prefix=build/fuzz/artifacts/$$t- $$dict \
	    build/fuzz/corpus/$$t $$seeds; \
	done

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

# Every test program of the Windows build runs under wine; the ones that
# cannot (fork, pseudo-terminals, LD_PRELOAD, the OpenSSL signing stand-in)
# are left out of that build by CMake, see the README.
test-windows: windows
	@# One wine server for the whole run: one started and stopped with each
	@# program can be shutting down just as the next program connects
	@# ("recvmsg: Connection reset by peer"). The first program started sets
	@# up wine's prefix; do it before the tests start two at a time.
	@$(WINESERVER) -k 2>/dev/null || true
	$(WINESERVER) -p
	$(WINE64) build/windows/bin/ecfhost.exe --help >/dev/null
	ctest --preset windows; status=$$?; $(WINESERVER) -k; exit $$status

demo-windows: windows
	rm -rf demo-run-windows && mkdir -p demo-run-windows
	cd demo-run-windows && $(WINE64) $(CURDIR)/build/windows/bin/ecfhost.exe demo

format:
	git ls-files '*.cc' '*.h' | xargs clang-format -i

clean:
	rm -rf build demo-run demo-run-windows
