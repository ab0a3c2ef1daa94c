# The two set-up commands of the README:
#   make run   install what is missing, build, and start the driver (with the virtual mouse when
#              no VELDRAN mouse is plugged in)
#   make test  install what is missing, build, and run every test
#   make deb   build the Debian package build/default/deb/veldran-driver_<version>_<arch>.deb
# Other presets: make test PRESET=asan, make test PRESET=tsan, make fuzz, make fuzz-long.

PRESET ?= default
BUILD := build/$(PRESET)
FUZZ_SECONDS ?= 5

FUZZ_RUNS ?= 10000000

.PHONY: all deps configure build run test deb fuzz fuzz-long fuzz-build bench clean

all: build

deps:
	@scripts/install-deps

configure: deps
	@cmake --preset $(PRESET) >/dev/null
	@scripts/refresh-moc $(BUILD)

build: configure
	@cmake --build --preset $(PRESET)

run: build
	@scripts/run-driver $(BUILD)/bin

test: build
	@ctest --preset $(PRESET)

# The package holds the installed tree of this build (stripped); its dependencies come from
# dpkg-shlibdeps.
deb: build
	@rm -f $(BUILD)/deb/*.deb
	@cd $(BUILD) && cpack --config CPackConfig.cmake >/dev/null
	@ls $(BUILD)/deb/*.deb

fuzz-build: deps
	@cmake --preset fuzz >/dev/null
	@cmake --build --preset fuzz

# Each libFuzzer target runs for FUZZ_SECONDS seconds, from the seeds in fuzz/corpus/.
fuzz: fuzz-build
	@scripts/run-fuzzers build/fuzz $(FUZZ_SECONDS)

# Each libFuzzer target runs FUZZ_RUNS inputs (10 million), then says its rate and time.
fuzz-long: fuzz-build
	@scripts/run-fuzzers build/fuzz --runs $(FUZZ_RUNS)

bench: build
	@for b in $(BUILD)/bin/*_bench; do [ -x "$$b" ] && "$$b"; done

clean:
	rm -rf build
