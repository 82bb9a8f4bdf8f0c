# Vistrel: `make test` installs what is missing, builds and runs every test;
# `make run` does the same set-up and starts the editor.

BUILD      ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS       ?= $(shell nproc)

PACKAGES = cmake ninja-build g++ pkg-config libgtest-dev \
           qt6-base-dev qt6-multimedia-dev \
           libavformat-dev libavcodec-dev libswscale-dev libswresample-dev libavutil-dev \
           libffms2-dev ffmpeg xvfb xauth xdotool imagemagick fonts-dejavu-core

APT = apt-get install -y --no-install-recommends -o DPkg::Lock::Timeout=600

.PHONY: all deps configure build test run bench clean

all: build

# Install only the packages that are missing; a fresh machine has no package lists yet.
deps:
	@missing=$$(for p in $(PACKAGES); do dpkg -s $$p >/dev/null 2>&1 || echo $$p; done); \
	if [ -n "$$missing" ]; then \
	  echo "Installing:" $$missing; \
	  SUDO=$$( [ "$$(id -u)" = 0 ] || echo sudo ); \
	  $$SUDO apt-get update -o DPkg::Lock::Timeout=600 && \
	  DEBIAN_FRONTEND=noninteractive $$SUDO $(APT) $$missing; \
	fi

configure: deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE)

build: configure
	cmake --build $(BUILD) -j $(JOBS)

test: build
	ctest --test-dir $(BUILD) -j2 --output-on-failure --timeout 300

run: build
	$(BUILD)/bin/vistrel

bench: build
	python3 tests/bench/engine_bench.py $(BUILD)

clean:
	rm -rf $(BUILD)
