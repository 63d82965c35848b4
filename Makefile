# SPDX-License-Identifier: GPL-3.0-or-later
# The two front-door commands are `make demo` and `make test`; each installs
# whatever system packages are missing, configures, builds and runs.

BUILD_DIR ?= build
TSAN_DIR ?= build-tsan
ASAN_DIR ?= build-asan
WINDOWS_DIR ?= build-windows
AARCH64_DIR ?= build-aarch64
CMAKE_FLAGS ?= -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
# Continuous integration (CI set in the environment) builds with warnings as errors.
ifdef CI
CMAKE_FLAGS += -DNADRIX_WERROR=ON
endif

.PHONY: all deps configure build demo test unit-tests tsan asan asan-build fuzz windows test-windows package-windows stress-tests bench bench-render install uninstall package package-aarch64 clean

all: build

deps:
	@bash scripts/install-deps.sh

configure: deps
	@mkdir -p $(BUILD_DIR)
	@cmake -S . -B $(BUILD_DIR) $(CMAKE_FLAGS) > $(BUILD_DIR)/configure.log 2>&1 || { cat $(BUILD_DIR)/configure.log; exit 1; }

build: configure
	@cmake --build $(BUILD_DIR)

DEMO_OUT ?= $(BUILD_DIR)/nadrix-demo.wav

demo: build
	@$(BUILD_DIR)/tools/nadrix-render/nadrix-render --demo -o $(DEMO_OUT) --program "Nice Hall"

unit-tests: build
	@cd $(BUILD_DIR) && ctest --output-on-failure

tsan: deps
	@mkdir -p $(TSAN_DIR)
	@cmake -S . -B $(TSAN_DIR) $(CMAKE_FLAGS) -DNADRIX_SANITIZE=thread > $(TSAN_DIR)/configure.log 2>&1 || { cat $(TSAN_DIR)/configure.log; exit 1; }
	@cmake --build $(TSAN_DIR) --target engine_concurrency_tests engine_tests processor_concurrency_tests
	@cd $(TSAN_DIR) && TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" ctest --output-on-failure

# AddressSanitizer and UndefinedBehaviorSanitizer, built with clang: the
# engine, the processor, the hosted bundles and the tools, with any report
# failing the run. The same build holds the fuzz targets.
ASAN_TARGETS = engine_tests engine_concurrency_tests processor_tests processor_concurrency_tests hosting_tests lv2_host_tests tool_tests fuzz_targets
SANITIZER_ENV = ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:detect_stack_use_after_return=1" \
    UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:suppressions=$(CURDIR)/tests/sanitizer-undefined.supp" \
    LSAN_OPTIONS="suppressions=$(CURDIR)/tests/sanitizer-leaks.supp:print_suppressions=0"
asan-build: deps
	@mkdir -p $(ASAN_DIR)
	@cmake -S . -B $(ASAN_DIR) $(CMAKE_FLAGS) -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
	    -DNADRIX_SANITIZE=address,undefined > $(ASAN_DIR)/configure.log 2>&1 || { cat $(ASAN_DIR)/configure.log; exit 1; }
	@cmake --build $(ASAN_DIR) --target $(ASAN_TARGETS)

asan: asan-build
	@cd $(ASAN_DIR) && $(SANITIZER_ENV) ctest --output-on-failure

# Every fuzz target over its committed seeds, then FUZZ_SECONDS of fuzzing
# each; new inputs are kept in $(ASAN_DIR)/fuzz/corpus. `make test` runs them
# briefly (FUZZ_SECONDS=15).
FUZZ_SECONDS ?= 60
fuzz: asan-build
	@$(SANITIZER_ENV) bash scripts/fuzz.sh $(ASAN_DIR) $(FUZZ_SECONDS)

# 64-bit Windows, cross-built with mingw-w64: the VST3 and the Standalone in
# $(WINDOWS_DIR)/Nadrix_artefacts/Release, nadrix-render.exe in
# $(WINDOWS_DIR)/tools/nadrix-render, and the host its tests run under Wine.
windows: deps
	@bash scripts/windows-libraries.sh $(WINDOWS_DIR)
	@cmake -S . -B $(WINDOWS_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=cmake/windows/mingw-w64-x86_64.cmake \
	    -DNADRIX_WINDOWS_LIBRARIES=$(abspath $(WINDOWS_DIR))/windows-libraries/prefix \
	    $(filter -DNADRIX_WERROR=%,$(CMAKE_FLAGS)) > $(WINDOWS_DIR)/configure.log 2>&1 || { cat $(WINDOWS_DIR)/configure.log; exit 1; }
	@cmake --build $(WINDOWS_DIR)

# The zip and the NSIS installer, in $(WINDOWS_DIR)/packages.
package-windows: windows
	@bash scripts/package-windows.sh $(WINDOWS_DIR)

# Under Wine: the six programs bit-identical to Linux, the window as Linux
# paints it, nadrix-render.exe writing the same file as the Linux build's,
# and the installer installing and uninstalling cleanly.
test-windows: package-windows build
	@bash tests/windows/wine-check.sh $(WINDOWS_DIR) $(BUILD_DIR)
	@bash tests/windows/installer-check.sh $(WINDOWS_DIR)

# Stage by stage, each saying how long it took.
STAGE = bash scripts/stage.sh
test:
	@$(STAGE) "packages" $(MAKE) --no-print-directory deps
	@$(STAGE) "build and tests" $(MAKE) --no-print-directory unit-tests
	@$(STAGE) "ThreadSanitizer build and tests" $(MAKE) --no-print-directory tsan
	@$(STAGE) "AddressSanitizer build and tests" $(MAKE) --no-print-directory asan
	@$(STAGE) "fuzzing" $(MAKE) --no-print-directory fuzz FUZZ_SECONDS=15
	@$(STAGE) "Windows build and tests under Wine" $(MAKE) --no-print-directory test-windows

# The whole suite over and over with every core loaded (scripts/stress-tests.sh).
RUNS ?= 20
stress-tests:
	@bash scripts/stress-tests.sh $(RUNS)

# BESIDE="URI..." measures other LV2 plug-ins installed here beside Nadrix.
BESIDE ?=
bench: build
	@echo "== Engine throughput (x_realtime = seconds of 44.1 kHz stereo per CPU second) =="
	@$(BUILD_DIR)/bench/engine_bench
	@echo "== What an instance costs a session =="
	@$(BUILD_DIR)/bench/instance_cost
	@echo "== The LV2 plug-in as hosts meet it, stripped, through lilv =="
	@bash scripts/bench-lv2.sh $(BUILD_DIR) $(BESIDE)
	@echo "== The Python module beside the engine (real-time factors; per core on an idle machine) =="
	@PYTHONPATH=$(BUILD_DIR)/python PYTHONDONTWRITEBYTECODE=1 /usr/bin/python3 bench/python_bench.py $(BUILD_DIR)/bench/engine_bench

bench-render: build
	@bash scripts/bench-render.sh $(BUILD_DIR)

# The LV2 plug-in for 64-bit ARM Linux, for headless hosts on small boards:
# the bundle (no window), stripped, in $(AARCH64_DIR)/packages.
package-aarch64: deps
	@bash scripts/build-aarch64.sh $(AARCH64_DIR) --package

# Installs for the current user unless PREFIX says otherwise (make install
# PREFIX=/usr/local); DESTDIR is honoured. `make uninstall` with the same
# PREFIX and DESTDIR removes exactly what was installed.
PREFIX ?= $(HOME)
INSTALL_RECORD = $(BUILD_DIR)/installed$(subst /,-,$(DESTDIR)$(PREFIX)).txt

install: build
	@DESTDIR="$(DESTDIR)" bash scripts/install.sh $(BUILD_DIR) "$(PREFIX)"

uninstall:
	@DESTDIR="$(DESTDIR)" bash scripts/uninstall.sh "$(INSTALL_RECORD)"

# A Debian package (and its -dbgsym package) in $(BUILD_DIR)/packages.
package: build
	@cd $(BUILD_DIR) && cpack > cpack.log 2>&1 || { cat cpack.log; exit 1; }
	@ls -1 $(BUILD_DIR)/packages/*.deb

clean:
	rm -rf $(BUILD_DIR) $(TSAN_DIR) $(ASAN_DIR) $(WINDOWS_DIR)
