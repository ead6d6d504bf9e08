# Front door of the project. `make` builds, `make test` builds and runs every
# test under the sanitizers, `make bench` runs the benchmarks on an optimised
# build, `make demo` runs a whole fiscal day on the simulated printer,
# `make fuzz` runs every fuzz target for FUZZ_SECONDS seconds (clang build).
.PHONY: all configure build test bench demo fuzz format clean

FUZZ_SECONDS ?= 60

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

# Each target starts from its committed seeds (fuzz/corpus/<target>, read
# only), with its dictionary fuzz/<target>.dict when there is one, and keeps
# what it learns in build/fuzz/corpus/<target>; a crash, a hang or an
# allocation past the memory limit is saved in build/fuzz/artifacts/ and
# fails the run.
fuzz:
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

format:
	git ls-files '*.cc' '*.h' | xargs clang-format -i

clean:
	rm -rf build demo-run
