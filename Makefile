# make test  - installs what is missing, builds and runs every test under both presets, the
#              concurrency tests under ThreadSanitizer, the fuzzer for 60 seconds, and the Windows
#              DLL's tests under Wine when the cross tools are installed (test-windows)
# make fuzz  - runs the fuzzer until it finds a fault (or for FUZZ_SECONDS seconds)
# make demo  - installs what is missing, builds and runs the SQL shell demo
# make bench - builds and runs every benchmark, the JNI one included (default preset), and
#              prints a summary table of each figure next to its target
.PHONY: deps build build-asan build-tsan build-fuzz test test-default test-asan test-tsan \
        test-fuzz test-windows fuzz bench clean

deps:
	@scripts/install-deps

build: deps
	cmake --preset default
	cmake --build --preset default

build-asan: deps
	cmake --preset asan
	cmake --build --preset asan

test-default: build
	ctest --preset default

test-asan: build-asan
	ctest --preset asan

# The Windows DLL, cross-built with MinGW-w64 (its dependencies cached in build/windows/deps), and
# its tests under Wine. Skipped, with a note, where scripts/install-deps left the cross tools out.
test-windows: deps
	@if command -v x86_64-w64-mingw32-g++-posix >/dev/null && [ -x /usr/lib/wine/wine64 ]; then \
	  cmake --preset windows && cmake --build --preset windows && ctest --preset windows; \
	else \
	  echo "test-windows: MinGW-w64 or Wine is not installed; the Windows tests are skipped"; \
	fi

build-tsan: deps
	cmake --preset tsan
	cmake --build --preset tsan

# Only the concurrency tests run under ThreadSanitizer.
test-tsan: build-tsan
	ctest --preset tsan

build-fuzz: deps
	cmake --preset fuzz
	cmake --build --preset fuzz

# The fuzzer for 60 seconds, from the seed corpus.
test-fuzz: build-fuzz
	ctest --preset fuzz

# The fuzzer until it finds a fault, or for FUZZ_SECONDS; new inputs go to build/fuzz/fuzz/corpus.
FUZZ_SECONDS ?= 0
fuzz: build-fuzz
	cd build/fuzz/fuzz/work && ../kavex_fuzz -max_total_time=$(FUZZ_SECONDS) -timeout=20 \
	  -rss_limit_mb=4096 ../corpus ../../../../fuzz/corpus

test: test-default test-asan test-tsan test-fuzz test-windows

.PHONY: demo
# Builds only the library and kavex-sql (the demo preset), with the build's output in a log.
demo: deps
	@mkdir -p build
	@echo "Building the library and kavex-sql (log: build/demo-build.log) ..."
	@{ cmake --preset demo && cmake --build --preset demo; } >build/demo-build.log 2>&1 \
	  || { tail -n 40 build/demo-build.log; exit 1; }
	@tools/demo/run-demo build/demo

bench: build
	@bench/run-all build/default

clean:
	rm -rf build
