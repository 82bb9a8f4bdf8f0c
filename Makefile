# Vistrel: `make test` installs what is missing, builds and runs every test;
# `make run` does the same set-up and starts the editor.

BUILD      ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS       ?= $(shell nproc)
WERROR     ?= ON

PACKAGES = cmake ninja-build g++ pkg-config libgtest-dev \
           qt6-base-dev qt6-multimedia-dev \
           libavformat-dev libavcodec-dev libswscale-dev libswresample-dev libavutil-dev \
           libffms2-dev libfftw3-dev ffmpeg xvfb xauth xdotool imagemagick fonts-dejavu-core \
           clang-format melt help2man dpkg-dev file appstream desktop-file-utils lintian

# Only for `make fuzz`: libFuzzer comes with clang's runtime.
FUZZ_PACKAGES = clang libclang-rt-14-dev
FUZZERS = script_parse script_eval numeric_text mci_command
FUZZ_SECONDS ?= 60

APT = apt-get install -y --no-install-recommends -o DPkg::Lock::Timeout=600

.PHONY: all deps configure build test run package bench soak test-asan fuzz clean format format-check

all: build

# Install only the packages that are missing; a fresh machine has no package lists yet.
deps:
	@$(MAKE) --no-print-directory install-packages WANTED="$(PACKAGES)"

install-packages:
	@missing=$$(for p in $(WANTED); do dpkg -s $$p >/dev/null 2>&1 || echo $$p; done); \
	if [ -n "$$missing" ]; then \
	  echo "Installing:" $$missing; \
	  SUDO=$$( [ "$$(id -u)" = 0 ] || echo sudo ); \
	  $$SUDO apt-get update -o DPkg::Lock::Timeout=600 && \
	  DEBIAN_FRONTEND=noninteractive $$SUDO $(APT) $$missing; \
	fi

configure: deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DVISTREL_WERROR=$(WERROR)

build: configure
	cmake --build $(BUILD) -j $(JOBS)

test: build format-check
	ctest --test-dir $(BUILD) -j2 --output-on-failure --timeout 300

# One code style (.clang-format): `make format` applies it to every C++ file
# git knows; `make test` fails on a file that does not follow it.
# (Outside a git checkout there is no list, and nothing is checked.)
SOURCES = $(shell git ls-files --cached --others --exclude-standard '*.cpp' '*.h' 2>/dev/null)
format: deps
	$(if $(SOURCES),clang-format -i $(SOURCES))

format-check: deps
	$(if $(SOURCES),@clang-format --dry-run --Werror $(SOURCES) || \
	  { echo "Some files do not follow .clang-format: run make format"; exit 1; })

run: build
	$(BUILD)/bin/vistrel

# vistrel_VERSION_ARCH.deb in $(BUILD): the three programs, the desktop entry
# and icon, the metainfo, the man pages; its Depends from the linked libraries.
package: build
	cd $(BUILD) && cpack -G DEB

bench: build
	python3 tests/bench/engine_bench.py $(BUILD)

# Long sessions: ten thousand switch points through the model, then the
# preview played offscreen for SOAK_SECONDS with a seek every second, with
# the memory figures. Not part of `make test`.
SOAK_SECONDS ?= 600
soak: build
	cmake --build $(BUILD) -j $(JOBS) --target vistrel-soak
	XDG_CACHE_HOME=$(CURDIR)/$(BUILD)/test-cache VISTREL_TEST_MEDIA=$(CURDIR)/$(BUILD)/test-media \
	  $(BUILD)/bin/vistrel-soak $(SOAK_SECONDS)

# The whole suite under AddressSanitizer and UndefinedBehaviorSanitizer.
test-asan: deps
	cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVISTREL_SANITIZE=ON
	cmake --build build-asan -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 LSAN_OPTIONS=suppressions=$(CURDIR)/tests/sanitizer/lsan.supp \
	UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	ctest --test-dir build-asan -j2 --output-on-failure --timeout 900

# Each fuzz target for FUZZ_SECONDS, from its seed corpus (and tests/fuzz/<prefix>.dict
# when there is one: script.dict for the script targets); findings land in build-fuzz/.
fuzz: deps
	@$(MAKE) --no-print-directory install-packages WANTED="$(FUZZ_PACKAGES)"
	cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DVISTREL_FUZZ=ON
	cmake --build build-fuzz -j $(JOBS) $(addprefix --target fuzz_,$(FUZZERS))
	@for f in $(FUZZERS); do \
	  mkdir -p build-fuzz/corpus/$$f build-fuzz/findings/$$f; \
	  echo "== fuzz_$$f for $(FUZZ_SECONDS) s"; \
	  (cd build-fuzz/findings/$$f && QT_QPA_PLATFORM=offscreen \
	    LSAN_OPTIONS=suppressions=$(CURDIR)/tests/sanitizer/lsan.supp ../../bin/fuzz_$$f -max_total_time=$(FUZZ_SECONDS) \
	    -timeout=10 -rss_limit_mb=4096 -print_final_stats=1 \
	    $$( [ -f $(CURDIR)/tests/fuzz/$${f%%_*}.dict ] && echo -dict=$(CURDIR)/tests/fuzz/$${f%%_*}.dict ) \
	    ../../corpus/$$f $(CURDIR)/tests/fuzz/corpus/$$f) || exit 1; \
	done

clean:
	rm -rf $(BUILD) build-asan build-fuzz
