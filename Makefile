# One-command set-up on a fresh Debian 12 machine:
#   make run   install what is missing, build, start the plotter
#   make test  install what is missing, build, run every test, then run them
#              all again under AddressSanitizer and UndefinedBehaviorSanitizer,
#              then give each fuzz target a short run
#   make fuzz  build the fuzz targets and run each for FUZZ_SECONDS seconds
#   make package       build the Debian package ondrix_<version>_<arch>.deb
#   make install-user  install for the current user (see "Installing on Linux" below)
BUILD_DIR ?= build
ASAN_DIR ?= build-asan
FUZZ_DIR ?= build-fuzz
JOBS := $(shell nproc 2>/dev/null || echo 2)
# Keep the build's own make quiet about the folders it enters.
MAKEFLAGS += --no-print-directory

# Debian packages the build and the tests need.
PACKAGES := cmake make g++ pkg-config qt6-base-dev libgl-dev libgtest-dev libgmock-dev \
            libbenchmark-dev libmuparser-dev libqt6svg6 fonts-dejavu-core \
            clang libclang-rt-14-dev llvm

# The sanitizer build: every report ends the test that made it. Leaks are
# checked too; the suppression file lists only leaks inside Qt and fontconfig
# themselves. Widget tests draw on Qt's offscreen platform.
SAN_FLAGS := -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer
SAN_ENV := ASAN_OPTIONS=detect_leaks=1:halt_on_error=1:detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1 \
           UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
           LSAN_OPTIONS=suppressions=$(CURDIR)/tests/hardening/lsan.supp:print_suppressions=0 \
           QT_QPA_PLATFORM=offscreen

# libFuzzer targets (clang). `make test` runs each for FUZZ_SMOKE_SECONDS from
# its seed corpus; `make fuzz` for FUZZ_SECONDS. New inputs go to
# $(FUZZ_DIR)/corpus, crashing ones to $(FUZZ_DIR)/artifacts.
FUZZ_TARGETS := fuzz_add_code fuzz_eval fuzz_formula fuzz_install_log
FUZZ_SECONDS ?= 300
FUZZ_SMOKE_SECONDS ?= 30
FUZZ_FLAGS ?= -rss_limit_mb=2048 -timeout=10 -max_len=4096 -print_final_stats=1

.PHONY: all deps configure build run test test-asan fuzz-build fuzz-smoke fuzz fuzz-run clean format

all: build

deps:
	@missing=""; \
	for p in $(PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q 'ok installed' || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing missing Debian packages:$$missing"; \
	  if [ "$$(id -u)" -eq 0 ]; then SUDO=""; \
	  elif command -v sudo >/dev/null 2>&1; then SUDO="sudo"; \
	  else echo "Missing packages:$$missing -- run as root or install sudo." >&2; exit 1; fi; \
	  $$SUDO apt-get update && DEBIAN_FRONTEND=noninteractive $$SUDO apt-get install -y $$missing; \
	fi

configure: deps
	@cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=Release >/dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	@if [ -z "$$DISPLAY" ] && [ -z "$$WAYLAND_DISPLAY" ]; then \
	  echo "No display found: Ondrix is a windowed program."; \
	  echo "Run it on a desktop, or under a virtual display: xvfb-run -a make run"; \
	  echo "(xvfb-run comes with Debian's xvfb package: apt-get install xvfb)"; \
	  exit 1; \
	fi
	@$(BUILD_DIR)/plotter/qt/ondrix

test: build
	@cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)
	@$(MAKE) --no-print-directory test-package
	@$(MAKE) --no-print-directory test-asan
	@$(MAKE) --no-print-directory fuzz-smoke

# The whole test suite again, built with gcc's AddressSanitizer and
# UndefinedBehaviorSanitizer (benchmarks are not tests and are left out).
test-asan: deps
	@echo "== Building the tests with AddressSanitizer and UndefinedBehaviorSanitizer in $(ASAN_DIR)/"
	@cmake -S . -B $(ASAN_DIR) -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g1" \
	  -DCMAKE_CXX_FLAGS="$(SAN_FLAGS)" -DCMAKE_EXE_LINKER_FLAGS="$(SAN_FLAGS)" \
	  -DONDRIX_BENCH=OFF >/dev/null
	@$(SAN_ENV) cmake --build $(ASAN_DIR) -j $(JOBS)
	@echo "== Running the tests under the sanitizers"
	@cd $(ASAN_DIR) && $(SAN_ENV) ctest --output-on-failure -j $(JOBS)

fuzz-build: deps
	@echo "== Building the fuzz targets with clang in $(FUZZ_DIR)/"
	@cmake -S . -B $(FUZZ_DIR) -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Debug \
	  -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g" -DONDRIX_FUZZ=ON -DONDRIX_GUI=OFF -DONDRIX_TESTS=OFF \
	  -DONDRIX_BENCH=OFF >/dev/null
	@cmake --build $(FUZZ_DIR) -j $(JOBS) --target $(FUZZ_TARGETS)

fuzz-smoke: fuzz-build
	@$(MAKE) --no-print-directory fuzz-run SECONDS=$(FUZZ_SMOKE_SECONDS)

fuzz: fuzz-build
	@$(MAKE) --no-print-directory fuzz-run SECONDS=$(FUZZ_SECONDS)

# Runs every target in turn; fails when any of them finds a crash, a leak, a
# sanitizer report, an input slower than the timeout or one over the memory limit.
fuzz-run:
	@failed=0; passed=0; \
	for t in $(FUZZ_TARGETS); do \
	  mkdir -p $(FUZZ_DIR)/corpus/$$t $(FUZZ_DIR)/artifacts/$$t $(FUZZ_DIR)/logs; \
	  case $$t in fuzz_install_log) dict="";; *) dict="-dict=tests/fuzz/vbscript.dict";; esac; \
	  echo "== Fuzzing $$t for $(SECONDS) s"; \
	  if $(FUZZ_DIR)/tests/fuzz/$$t $(FUZZ_FLAGS) $$dict -max_total_time=$(SECONDS) \
	       -artifact_prefix=$(FUZZ_DIR)/artifacts/$$t/ \
	       $(FUZZ_DIR)/corpus/$$t tests/fuzz/corpus/$$t >$(FUZZ_DIR)/logs/$$t.log 2>&1; then \
	    passed=$$((passed + 1)); \
	    grep -E '^stat::number_of_executed_units|^Done ' $(FUZZ_DIR)/logs/$$t.log | tail -n 1; \
	  else \
	    failed=$$((failed + 1)); \
	    echo "$$t FAILED; its report ($(FUZZ_DIR)/logs/$$t.log) ends:"; \
	    tail -n 60 $(FUZZ_DIR)/logs/$$t.log; \
	  fi; \
	done; \
	echo "== Fuzz targets without findings: $$passed; with findings: $$failed"; \
	[ $$failed -eq 0 ]

# ---- Installing on Linux ----------------------------------------------------------------------
# make package       the Debian package in this folder, built in $(PACKAGE_DIR) with Debian's
#                    hardening flags; install it with apt-get install ./ondrix_..._amd64.deb
# make test-package  builds it and checks it with lintian and dpkg-deb, then checks the three
#                    ways to install, each removed again (part of `make test`; the package
#                    is installed with apt-get and removed when run as root)
# make install-user  a per-user program folder, $(HOME)/.local/opt/Ondrix unless PREFIX=...
#                    names another, with desktop shortcut and menu entries; the folder's
#                    `uninstall` removes it again. FORCE=1 replaces the shortcuts of an install
#                    in another folder. Builds only the programs and the icon it installs, in
#                    $(PACKAGE_DIR), hardened and stripped like the package.
# make uninstall     removes what `cmake --install $(BUILD_DIR)` placed (BUILD_DIR=... for
#                    another build folder): the files of its install_manifest.txt, then the
#                    folders the install created, once empty
PACKAGE_DIR ?= build-package
PACKAGES += desktop-file-utils appstream lintian dpkg-dev file librsvg2-bin libglib2.0-bin
# What `make install-user` needs, and no more: the compiler, Qt, the icon renderer, and
# dpkg-buildflags and strip for Debian's hardening.
INSTALL_USER_PACKAGES := cmake make g++ pkg-config qt6-base-dev libgl-dev libqt6svg6 \
                         librsvg2-bin dpkg-dev binutils
INSTALL_USER_TARGETS := ondrix uninstall ondrix-shell-folder ondrix_user_icon
VERSION := $(shell sed -n 's/^project.Ondrix VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
DEB_ARCH := $(shell dpkg --print-architecture 2>/dev/null || echo amd64)
DEB_FILE := ondrix_$(VERSION)_$(DEB_ARCH).deb
HARDENING := DEB_BUILD_MAINT_OPTIONS=hardening=+all

.PHONY: package test-package install-user release-configure uninstall clean-package

# The release build that the package and the per-user install share: no tests, no
# benchmarks, Debian's hardening flags.
release-configure:
	@cmake -S . -B $(PACKAGE_DIR) -DCMAKE_BUILD_TYPE=Release -DONDRIX_TESTS=OFF -DONDRIX_BENCH=OFF \
	  -DCMAKE_CXX_FLAGS="$$($(HARDENING) dpkg-buildflags --get CPPFLAGS) $$($(HARDENING) dpkg-buildflags --get CXXFLAGS)" \
	  -DCMAKE_EXE_LINKER_FLAGS="$$($(HARDENING) dpkg-buildflags --get LDFLAGS)" >/dev/null

package: deps
	@echo "== Building the Debian package in $(PACKAGE_DIR)/"
	@$(MAKE) --no-print-directory release-configure
	@cmake --build $(PACKAGE_DIR) -j $(JOBS)
	@cd $(PACKAGE_DIR) && cpack -G DEB >cpack.log 2>&1 || { cat cpack.log; exit 1; }
	@cp $(PACKAGE_DIR)/$(DEB_FILE) $(DEB_FILE)
	@echo "Built $(DEB_FILE); install it with: sudo apt-get install ./$(DEB_FILE)"

test-package: package
	@sh tests/install/package_test.sh $(DEB_FILE) $(VERSION)
	@sh tests/install/package_round_trip_test.sh $(DEB_FILE)
	@sh tests/install/installed_files_test.sh $(PACKAGE_DIR)
	@sh tests/install/release_test.sh

install-user:
	@$(MAKE) --no-print-directory deps PACKAGES="$(INSTALL_USER_PACKAGES)"
	@echo "== Building what the per-user install places, in $(PACKAGE_DIR)/"
	@$(MAKE) --no-print-directory release-configure
	@cmake --build $(PACKAGE_DIR) -j $(JOBS) --target $(INSTALL_USER_TARGETS)
	@sh tools/install-user.sh --strip $(if $(FORCE),--force) \
	  --program $(PACKAGE_DIR)/plotter/qt/ondrix --uninstaller $(PACKAGE_DIR)/uninstall/uninstall \
	  --icon $(PACKAGE_DIR)/packaging/linux/data/icons/256x256/org.ondrix.Ondrix.png \
	  --shell-folder-tool $(PACKAGE_DIR)/tools/ondrix-shell-folder $(if $(value PREFIX),--prefix '$(subst ','\'',$(value PREFIX))')

uninstall:
	@sh packaging/linux/cmake-uninstall.sh $(BUILD_DIR)

clean: clean-package
clean-package:
	@rm -rf $(PACKAGE_DIR) $(DEB_FILE)
# ---- end of Installing on Linux ---------------------------------------------------------------

# --- make windows, make test-windows: the Windows build, tested under Wine --------------------
# make windows       cross-compiles Ondrix.exe and uninstall.exe with Debian's mingw-w64 and
#                    makes the installer Ondrix-<version>-setup.exe with NSIS, all in
#                    $(WINDOWS_DIR)/
# make test-windows  builds that, the test programs of tests/windows and the GoogleTest suites
#                    of every toolkit-free library (engine, evaluation, view, pixel canvas,
#                    drawing, the window's rules, the About box's model, the uninstaller's log
#                    reader; GoogleTest itself built from Debian's sources), then runs them
#                    under Debian's Wine on a virtual X display (xvfb-run), in a Wine prefix
#                    and HOME of their own inside $(WINDOWS_DIR)/ (tests/windows/
#                    run_wine_tests.sh). Remove the folder to start afresh.
# Currency uses the written-out 128-bit multiply there, so its tests run with it.
WINDOWS_DIR ?= build-windows
WINDOWS_PACKAGES := cmake make mingw-w64 g++-mingw-w64-x86-64-posix wine wine64 googletest nsis \
                    librsvg2-bin imagemagick xvfb xauth xdotool
# One target holds everything of a run, so the build runs in parallel: the installer (with
# the programs it holds) for `make windows`; for `make test-windows` everything it runs
# (tests/windows/CMakeLists.txt).
WINDOWS_TARGETS := ondrix_setup
WINDOWS_TEST_TARGETS := windows_tests
# The virtual display the Wine tests run on (tall enough for the design size at 150 %); -a
# picks a free display number.
WINDOWS_XVFB := xvfb-run -a -s "-screen 0 1920x1280x24 -nolisten tcp"
.PHONY: windows-deps windows-configure windows test-windows

windows-deps:
	@$(MAKE) --no-print-directory deps PACKAGES="$(WINDOWS_PACKAGES)"

windows-configure: windows-deps
	@cmake -S . -B $(WINDOWS_DIR) -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-w64.cmake \
	  -DCMAKE_BUILD_TYPE=Release -DONDRIX_TESTS=ON -DONDRIX_PORTABLE_MULTIPLY=ON >/dev/null

windows: windows-configure
	@echo "== Cross-compiling Ondrix for Windows and making its installer in $(WINDOWS_DIR)/"
	@cmake --build $(WINDOWS_DIR) -j $(JOBS) --target $(WINDOWS_TARGETS)
	@echo "Built $(WINDOWS_DIR)/plotter/windows/Ondrix.exe and $(WINDOWS_DIR)/Ondrix-$(VERSION)-setup.exe"

test-windows: windows-configure
	@echo "== Cross-compiling Ondrix, its installer, the test programs and the toolkit-free suites in $(WINDOWS_DIR)/"
	@cmake --build $(WINDOWS_DIR) -j $(JOBS) --target $(WINDOWS_TEST_TARGETS)
	@$(WINDOWS_XVFB) tests/windows/run_wine_tests.sh $(WINDOWS_DIR)

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	@rm -rf $(BUILD_DIR) $(ASAN_DIR) $(FUZZ_DIR)
