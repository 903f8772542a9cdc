# Kubrix: `make run` sets everything up and runs an example; `make test` sets up and runs the tests.
BUILD ?= build
TYPE ?= Release
EXAMPLE ?= examples/house.kx
GUI ?= ON
PREFIX ?= /usr/local

.PHONY: all deps build run test bench fuzz package install clean

all: build

deps:
	@bash scripts/install-deps

build: deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=$(TYPE) -DKUBRIX_BUILD_GUI=$(GUI)
	cmake --build $(BUILD)

# The desktop program opens the example and runs it; without a display the example runs headless.
run: build
	@if [ -n "$$DISPLAY" ] && [ -x $(BUILD)/kubrix ]; then \
	  echo "$(BUILD)/kubrix $(EXAMPLE)"; $(BUILD)/kubrix $(EXAMPLE); \
	else \
	  echo "No display (DISPLAY is empty) or no desktop program: running $(EXAMPLE) headless"; $(BUILD)/kubrix-run --status $(EXAMPLE); \
	fi

test: build
	cd $(BUILD) && ctest --output-on-failure --timeout 600

# The Debian package $(BUILD)/kubrix_<version>_<arch>.deb; install it with apt-get install ./FILE.deb.
package: build
	cmake --build $(BUILD) --target package

# Installs into PREFIX and refreshes the desktop's MIME and menu caches there.
install: build
	cmake --install $(BUILD) --prefix $(PREFIX)
	-update-mime-database $(PREFIX)/share/mime
	-update-desktop-database $(PREFIX)/share/applications

bench: build
	$(BUILD)/kubrix_bench

fuzz: deps
	CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKUBRIX_BUILD_FUZZ=ON \
	  -DKUBRIX_BUILD_TESTS=OFF -DKUBRIX_BUILD_BENCH=OFF -DKUBRIX_BUILD_GUI=OFF
	cmake --build build-fuzz --target kubrix_fuzz_run kubrix_fuzz_script_file
	@# New inputs go to build-fuzz/corpus*; the seed corpora in tests/fuzz are only read.
	mkdir -p build-fuzz/corpus build-fuzz/corpus-files build-fuzz/artifacts
	build-fuzz/kubrix_fuzz_run -max_total_time=$${FUZZ_SECONDS:-120} -max_len=4096 -timeout=10 \
	  -dict=tests/fuzz/kubrix.dict -artifact_prefix=build-fuzz/artifacts/ build-fuzz/corpus tests/fuzz/corpus
	build-fuzz/kubrix_fuzz_script_file -max_total_time=$${FILES_FUZZ_SECONDS:-60} -max_len=8192 -timeout=10 \
	  -artifact_prefix=build-fuzz/artifacts/ build-fuzz/corpus-files tests/fuzz/corpus-files

clean:
	rm -rf $(BUILD) build-fuzz
