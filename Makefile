# Shortcuts over the CMake presets. The README's commands run
# scripts/setup-debian first, which installs what is missing; the targets here
# only configure, build and run.

JOBS ?= $(shell nproc)
# CI builds with warnings as errors.
WERROR = $(if $(CI),ON,OFF)

.PHONY: setup build run test test-asan bench fuzz clean

setup:
	./scripts/setup-debian

# Programs and private libraries sit in the build folder as they are installed.
PROGRAMS = build/default/bin
PRIVATE_LIBS = build/default/lib/pixquill

build:
	cmake --preset default -DPIXQUILL_WERROR=$(WERROR)
	cmake --build --preset default -j $(JOBS)
	@# The program creates its cipher by class identifier: register this build's
	@# Corvid for the user running it, so that it works at once.
	$(PROGRAMS)/corvid-regsvr $(PRIVATE_LIBS)/libcorvid.so.1

run: build
	./scripts/run-pixquill build/default

test: build
	ctest --preset default -j $(JOBS)

test-asan:
	cmake --preset asan -DPIXQUILL_WERROR=$(WERROR)
	cmake --build --preset asan -j $(JOBS)
	ctest --preset asan -j $(JOBS)

bench:
	cmake --preset release -DPIXQUILL_BUILD_BENCHMARKS=ON
	cmake --build --preset release -j $(JOBS)
	./scripts/run-benchmarks build/release

# Each libFuzzer target for FUZZ_SECONDS, under ASan and UBSan.
FUZZ_SECONDS ?= 60

fuzz:
	./scripts/run-fuzzers $(FUZZ_SECONDS)

# Windows: Corvid.dll, pixquill-cli.exe and the installer in build/windows,
# cross-built with mingw-w64; their tests run under Wine in a throw-away prefix.
.PHONY: windows test-windows
windows:
	./scripts/setup-debian --windows
	cmake --preset windows -DPIXQUILL_WERROR=$(WERROR)
	cmake --build --preset windows -j $(JOBS)

# The Linux pixquill-cli is built too: the Windows program's pictures are compared with its own.
test-windows: windows
	cmake --preset default
	cmake --build --preset default -j $(JOBS) --target pixquill-cli
	./tests/windows/run-under-wine build/windows build/default

# The Debian package, from a build of its own for /usr: build/package/pixquill_*.deb
.PHONY: package
package:
	./packaging/build-deb build/package

clean:
	rm -rf build
