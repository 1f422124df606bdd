# Two entry points: `make run` and `make test`. Each installs missing packages, configures, builds and runs.
.PHONY: deps run test build-release build-test bench clean format

JOBS ?= $(shell nproc)

deps:
	./scripts/install-deps

build-release: deps
	cmake --preset release
	cmake --build --preset release -j $(JOBS)

build-test: deps
	cmake --preset test
	cmake --build --preset test -j $(JOBS)

run: build-release
	./build/release/apps/zel/zel examples/tour.zel

bench: deps
	cmake --preset release -DZEL_BUILD_BENCH=ON
	cmake --build --preset release -j $(JOBS) --target zel_bench
	OPENBLAS_NUM_THREADS=1 ./build/release/bench/zel_bench $(BENCH_ARGS)

test: build-test
	cd build/test && OPENBLAS_NUM_THREADS=1 QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build
