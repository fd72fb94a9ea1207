# make test  - installs what is missing, builds and runs every test under both presets
# make demo  - installs what is missing, builds and runs the SQL shell demo
# make bench - builds and runs every benchmark, the JNI one included (default preset), and
#              prints a summary table of each figure next to its target
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
	@bench/run-all build/default

clean:
	rm -rf build
