# Thin wrapper over CMake. `make demo` builds the tool and shrinks the example;
# `make test` builds every configuration and runs every test.
JOBS ?= 2
CMAKE_GEN = -G Ninja
WINE_ENV = WINEDEBUG=-all

.PHONY: all demo test test-release test-clang test-asan test-windows check-win32 fuzz fuzz-build fuzz-long bench clean

all:
	cmake -S . -B build $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release
	cmake --build build -j $(JOBS)

demo: all
	./build/au3shrink examples/main.au3 build/main_small.au3 examples examples/include CFG 3 C </dev/null
	@echo "shrunk script: build/main_small.au3"

test: test-release test-clang test-asan test-windows check-win32 fuzz

test-release: all
	cd build && ctest --output-on-failure -j $(JOBS)

test-clang:
	cmake -S . -B build-clang $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_COMPILER=clang++
	cmake --build build-clang -j $(JOBS)
	cd build-clang && ctest --output-on-failure -j $(JOBS)

test-asan:
	cmake -S . -B build-asan $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DAU3_SANITIZE=ON
	cmake --build build-asan -j $(JOBS)
	cd build-asan && ctest --output-on-failure -j $(JOBS)

test-windows:
	cmake -S . -B build-win $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release \
	  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DAU3_E2E_EMULATOR=wine
	cmake --build build-win -j $(JOBS)
	$(WINE_ENV) wineboot -i >/dev/null 2>&1 || true
	cd build-win && $(WINE_ENV) ctest --output-on-failure -j $(JOBS)

check-win32:
	cmake -S . -B build-win32 $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release \
	  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-i686.cmake -DAU3_TESTS=OFF
	cmake --build build-win32 -j $(JOBS)

# libFuzzer over the whole pipeline (ASan + UBSan). Fails on any crash, leak,
# sanitizer report, hang (-timeout) or memory blow-up (-rss_limit_mb); the
# input that did it lands in build-fuzz/artifacts/. The corpus in
# build-fuzz/corpus grows from run to run; seeds are rebuilt every time.
FUZZ_SECONDS ?= 60
FUZZ_TMP ?= $(if $(wildcard /dev/shm/.),/dev/shm,/tmp)
FUZZ_RUN = cd build-fuzz && mkdir -p corpus artifacts && \
	UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 TMPDIR=$(FUZZ_TMP) \
	./au3_fuzz -dict=../tests/fuzz/pipeline.dict -timeout=10 -rss_limit_mb=2048 \
	  -detect_leaks=1 -close_fd_mask=3 -print_final_stats=1 -artifact_prefix=artifacts/

fuzz-build:
	cmake -S . -B build-fuzz $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_CXX_COMPILER=clang++ -DAU3_FUZZ=ON -DAU3_TESTS=OFF
	cmake --build build-fuzz -j $(JOBS) --target au3_fuzz
	rm -rf build-fuzz/seeds
	python3 tests/fuzz/make_seeds.py build-fuzz/seeds

fuzz: fuzz-build
	$(FUZZ_RUN) -max_total_time=$(FUZZ_SECONDS) corpus seeds

# Deep runs: an hour unless FUZZ_SECONDS is given; one fuzzing process per core.
fuzz-long: fuzz-build
	$(FUZZ_RUN) -fork=$(JOBS) corpus seeds \
	  -max_total_time=$(if $(filter command line environment,$(origin FUZZ_SECONDS)),$(FUZZ_SECONDS),3600)

bench:
	cmake -S . -B build-bench $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DAU3_BENCH=ON -DAU3_TESTS=OFF
	cmake --build build-bench -j $(JOBS)
	for b in build-bench/bench/*_bench; do $$b; done
	python3 bench/whole_tool.py build-bench/au3shrink

clean:
	rm -rf build build-clang build-asan build-win build-win32 build-bench build-fuzz
