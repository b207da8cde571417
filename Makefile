# Shortcuts over the CMake presets. `make run` and `make test` set up a fresh
# Debian 12 machine first (apt-get; as root or through sudo).

JOBS ?= $(shell nproc)

.PHONY: setup build run test test-asan bench clean

setup:
	./scripts/setup-debian

build: setup
	cmake --preset default
	cmake --build --preset default -j $(JOBS)

run: build
	./scripts/run-pixquill build/default

test: build
	ctest --preset default -j $(JOBS)

test-asan: setup
	cmake --preset asan
	cmake --build --preset asan -j $(JOBS)
	ctest --preset asan -j $(JOBS)

bench: setup
	cmake --preset release -DPIXQUILL_BUILD_BENCHMARKS=ON
	cmake --build --preset release -j $(JOBS)
	./scripts/run-benchmarks build/release

clean:
	rm -rf build
