# Three builds from one source, over the CMake presets:
#   dist/win32/launcher.exe  i686, the primary target
#   dist/win64/launcher.exe  x86_64, the one that runs under Wine here
#   dist/host/launcher       Linux, for launches against the JVMs here
JOBS ?= 2
# Another place for the builds, e.g. to keep two work trees apart.
BUILD ?= build
DIST ?= dist
B := $(abspath $(BUILD))
D := $(abspath $(DIST))

FUZZ_SECONDS ?= 60

.PHONY: all deps host win32 win64 asan fuzz-build fuzz reliability check unit demo clean dist bench

all: host win32 win64

deps:
	@bash scripts/deps.sh

host:
	cmake --preset host -B $(B)/host -DLAUNCHER_DIST=$(D) -DLAUNCHER_BUILD_ROOT=$(B) >/dev/null
	cmake --build $(B)/host -j$(JOBS)
	install -D $(B)/host/launcher $(D)/host/launcher

win32 win64:
	cmake --preset $@ -B $(B)/$@ >/dev/null
	cmake --build $(B)/$@ -j$(JOBS)
	install -D $(B)/$@/launcher.exe $(D)/$@/launcher.exe

# The host build and its tests again under ASan and UBSan.
asan:
	cmake --preset asan -B $(B)/asan -DLAUNCHER_DIST=$(D) -DLAUNCHER_BUILD_ROOT=$(B) >/dev/null
	cmake --build $(B)/asan -j$(JOBS)

# Every test label: unit, jvm, wine and ui; then unit and jvm under the
# sanitizers.
check: deps all asan
	cd $(B)/host && ctest --output-on-failure -j$(JOBS)
	cd $(B)/asan && ctest --output-on-failure -j$(JOBS) -L 'unit|jvm'

fuzz-build:
	cmake --preset fuzz -B $(B)/fuzz >/dev/null
	cmake --build $(B)/fuzz -j$(JOBS)

# docs/reliability.md from measurements made now (and the last fuzz run).
reliability: host
	bash scripts/reliability.sh $(B) $(D)

# Each libFuzzer target for FUZZ_SECONDS.
fuzz: deps fuzz-build
	bash scripts/fuzz.sh $(B) $(FUZZ_SECONDS)

unit: host
	cd $(B)/host && ctest --output-on-failure -j$(JOBS) -L unit

demo: deps all
	DIST=$(D) BUILD=$(B) bash scripts/demo.sh

# The release: $(D)/launcher-<version>-win32.zip and -win64.zip.
dist: win32 win64
	bash scripts/dist.sh $(D)

# Start-up figures, written to docs/performance.md.
bench: deps all
	BUILD=$(B) DIST=$(D) bash scripts/bench.sh

clean:
	rm -rf $(B) $(D)
