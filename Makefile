# Thin wrapper over CMake and its presets (CMakePresets.json). `make demo`
# builds the program only and shrinks the example; `make test` builds every
# configuration and runs every test.
JOBS ?= 2
# Ninja when it is there, otherwise CMake's default generator.
CMAKE_GEN := $(if $(shell command -v ninja 2>/dev/null),-G Ninja)
VERSION := $(shell sed -n 's/^project.au3shrink VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
DIST_SYSTEMS = linux-x86_64 windows-x86_64 windows-x86

# Configures, builds and tests one preset: $(call preset,NAME)
configure = cmake --preset $(1) $(CMAKE_GEN) && cmake --build --preset $(1) -j $(JOBS)
preset_tests = $(call configure,$(1)) && ctest --preset $(1) -j $(JOBS)
# The demo: the example shrunk with every pass, by the program in folder $(1).
demo_run = ./$(1)/au3shrink --no-pause examples/main.au3 $(1)/main_small.au3 examples examples/include CFG 3 C

.PHONY: all demo test test-release test-clang test-asan test-tsan test-windows \
        test-windows-x86 check-demo dist check-dist fuzz fuzz-build fuzz-long bench clean

all:
	$(call configure,release)

demo: all
	$(call demo_run,build) </dev/null
	@echo "program: build/au3shrink   shrunk script: build/main_small.au3"

test: test-release test-clang test-asan test-tsan test-windows test-windows-x86 check-demo check-dist fuzz

test-release:
	$(call preset_tests,tests)

test-clang:
	$(call preset_tests,clang)

test-asan:
	$(call preset_tests,asan)

# ThreadSanitizer: the unit tests, which split even the smallest script, and
# the scenarios, several of which are large enough to be split.
test-tsan:
	$(call preset_tests,tsan)

# Both Windows programs run their unit tests and every scenario under wine, in
# a prefix that the tests create inside the build folder.
test-windows:
	$(call preset_tests,windows)

test-windows-x86:
	$(call preset_tests,windows-x86)

# The demo's configuration needs only CMake and a compiler: built here with
# CMake's default generator and with GoogleTest and Python out of reach.
check-demo:
	rm -rf build-demo-check
	env -u CMAKE_GENERATOR cmake --preset release -B build-demo-check \
	  -DCMAKE_DISABLE_FIND_PACKAGE_GTest=ON -DCMAKE_DISABLE_FIND_PACKAGE_Python3=ON \
	  -DCMAKE_DISABLE_FIND_PACKAGE_benchmark=ON
	cmake --build build-demo-check -j $(JOBS)
	$(call demo_run,build-demo-check) </dev/null >/dev/null
	test -s build-demo-check/main_small.au3

# Release archives in dist/: the program (statically linked), README, docs/, license.
dist:
	rm -rf dist
	set -e; for system in $(DIST_SYSTEMS); do \
	  $(call configure,dist-$$system); \
	  cpack --config build-dist/$$system/CPackConfig.cmake -B $(CURDIR)/dist; \
	done
	rm -rf dist/_CPack_Packages

# Unpacks each archive and shrinks the example with the program in it.
check-dist: dist
	python3 tests/dist/check_dist.py --wineprefix build-dist/wineprefix \
	  $(foreach system,$(DIST_SYSTEMS),dist/au3shrink-$(VERSION)-$(system).$(if $(findstring windows,$(system)),zip,tar.gz))

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
	python3 bench/memory_shapes.py build-bench/au3shrink
	python3 bench/minify_cost.py build-bench/au3shrink

clean:
	rm -rf build build-tests build-clang build-asan build-tsan build-win build-win32 build-demo-check \
	  build-dist build-bench build-fuzz dist
