# make test  - installs what is missing, builds and runs every test under both presets
# make demo  - installs what is missing, builds and runs the SQL shell demo
# make bench - builds and runs the benchmarks (default preset)
.PHONY: deps build build-asan test test-default test-asan bench clean

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

test: test-default test-asan

.PHONY: demo
demo: build
	@tools/demo/run-demo build/default

bench: build
	@for b in build/default/bench/bench_*; do [ -x "$$b" ] && "$$b" || exit 1; done

clean:
	rm -rf build
