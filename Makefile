# make test  - installs what is missing, builds and runs every test under both presets, the
#              concurrency tests under ThreadSanitizer and the fuzzer for 60 seconds
# make fuzz  - runs the fuzzer until it finds a fault (or for FUZZ_SECONDS seconds)
# make demo  - installs what is missing, builds and runs the SQL shell demo
# make bench - builds and runs the benchmarks (default preset)
.PHONY: deps build build-asan build-tsan build-fuzz test test-default test-asan test-tsan \
        test-fuzz fuzz bench clean

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

test: test-default test-asan test-tsan test-fuzz

.PHONY: demo
demo: build
	@tools/demo/run-demo build/default

bench: build
	@for b in build/default/bench/bench_*; do [ -x "$$b" ] && "$$b" || exit 1; done

clean:
	rm -rf build
