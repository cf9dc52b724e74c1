# Orvane: one entry point for setting up, building, running and checking.
#   make run    install what is missing, build, start the player (ARGS="files...")
#   make test   install what is missing, build, run every test
#   make bench  build with optimisation and print the speed figures
#   make fuzz   build the fuzz targets with clang and run each FUZZ_SECONDS
#   make asan   build with AddressSanitizer + UBSan and run the tests
#   make package  build the Debian package orvane_<version>_amd64.deb in $(BUILD)
#   make install  install under PREFIX (default /usr/local); DESTDIR works too

BUILD        ?= build
BUILD_TYPE   ?= RelWithDebInfo
JOBS         ?= $(shell nproc)
FUZZ_SECONDS ?= 60
ARGS         ?=
PREFIX       ?= /usr/local

CMAKE_FLAGS = -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE)

.PHONY: all bootstrap configure build run test bench fuzz asan format clean package install

all: build

bootstrap:
	@bash scripts/bootstrap

$(BUILD)/build.ninja: | bootstrap
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)

configure: bootstrap $(BUILD)/build.ninja

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/app/orvane $(ARGS)

test: build
	bash scripts/run-tests $(BUILD)

bench: configure
	cmake --build $(BUILD) -j $(JOBS)
	cmake --build $(BUILD) --target bench

fuzz: bootstrap
	bash scripts/run-fuzzers build-fuzz $(FUZZ_SECONDS)

asan: bootstrap
	cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DORVANE_SANITIZE=ON -DORVANE_BENCH=OFF
	cmake --build build-asan -j $(JOBS)
	bash scripts/run-tests build-asan

package: build
	cd $(BUILD) && cpack -G DEB

install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) build-asan build-fuzz
