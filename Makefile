# Two entry points: `make run` and `make test`. Each installs missing packages, configures, builds and runs.
.PHONY: deps run test build-release build-test bench fuzz clean format docs

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

# Fuzzes the script compiler and evaluator, then the binary readers (value blob, context, workspace), each
# for FUZZ_SECONDS (default 120) with clang's libFuzzer.
FUZZ_SECONDS ?= 120
FUZZ_ENV = ASAN_OPTIONS=allocator_may_return_null=1:max_allocation_size_mb=256 OPENBLAS_NUM_THREADS=1
fuzz: deps
	CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DZEL_BUILD_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build build/fuzz -j $(JOBS) --target fuzz_script fuzz_binary
	mkdir -p build/fuzz/corpus build/fuzz/corpus_binary
	$(FUZZ_ENV) ./build/fuzz/fuzz/fuzz_script \
	  -max_total_time=$(FUZZ_SECONDS) -max_len=512 -timeout=10 -rss_limit_mb=3072 build/fuzz/corpus fuzz/corpus
	$(FUZZ_ENV) ./build/fuzz/fuzz/fuzz_binary \
	  -max_total_time=$(FUZZ_SECONDS) -max_len=4096 -timeout=10 -rss_limit_mb=3072 build/fuzz/corpus_binary fuzz/corpus_binary

test: build-test
	cd build/test && OPENBLAS_NUM_THREADS=1 QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# Rewrites the generated tables of docs/functions.md from the help texts of a freshly built zel.
docs: deps
	cmake --preset release
	cmake --build --preset release -j $(JOBS) --target zel_app
	OPENBLAS_NUM_THREADS=1 cmake -DZEL=build/release/apps/zel/zel -DDOC=docs/functions.md -DMODE=write \
	  -P tests/functions_doc.cmake

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build

# --- Desktop components: the workbench window and the pictures in docs/images. ---
.PHONY: workbench screenshots
workbench: deps
	cmake --preset release
	cmake --build --preset release -j $(JOBS) --target workbench
	OPENBLAS_NUM_THREADS=1 ./build/release/apps/workbench/workbench $(SCRIPT)

screenshots: deps
	./scripts/screenshots
# --- end of desktop components ---
