# The two commands of the README, and the pieces they are made of.
#   make run   builds the program and starts its window over a sample tree
#   make test  builds everything and runs every test suite
SHELL := /bin/bash

.PHONY: run screenshot test deps build test-release test-asan test-tsan test-fuzz build-mingw test-windows clean

deps:
	@tools/install-deps.sh

build: deps
	cmake --preset release
	cmake --build --preset release

run: build
	tools/run-window.sh build/release

screenshot: build
	tools/screenshot.sh build/release

test: deps test-release test-asan test-tsan test-fuzz test-windows

test-release: deps
	cmake --preset release
	cmake --build --preset release
	ctest --preset release

test-asan: deps
	cmake --preset asan
	cmake --build --preset asan
	ctest --preset asan

test-tsan: deps
	cmake --preset tsan
	cmake --build --preset tsan
	ctest --preset tsan

# Each decoder's fuzz target for a minute, two at a time.
test-fuzz: deps
	cmake --preset fuzz
	cmake --build --preset fuzz
	ctest --test-dir build/fuzz/fuzz -j 2 --output-on-failure

build-mingw: deps
	cmake --preset mingw
	cmake --build --preset mingw

# The Windows build's tests under wine (its prefix lives in build/mingw/wine).
test-windows: build-mingw
	ctest --preset mingw

clean:
	rm -rf build
