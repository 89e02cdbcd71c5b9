# Entry points for people and CI. Everything builds out of source under build/.
JOBS ?= 2
BUILD ?= build/debug
RELEASE ?= build/release
WORKSPACE ?= workspace

.PHONY: deps build release run test test-realdisplay bench fuzz sanitize package clean

deps:
	./scripts/install-deps

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Debug
	cmake --build $(BUILD) -j$(JOBS)

release: deps
	cmake -S . -B $(RELEASE) -DCMAKE_BUILD_TYPE=Release -DTEXTBOOK_TESTS=OFF
	cmake --build $(RELEASE) -j$(JOBS)

# Installs, builds and starts the program on a ready demo workspace.
run: release
	./scripts/run

# Installs, builds and runs every test, the real-display scenarios included.
# Those drive a real X server and window manager, whose timing a loaded machine
# stretches: a real-display run that fails is run once more, and fails the
# suite only when it fails again.
test: build
	cd $(BUILD) && ctest --output-on-failure -j$(JOBS) -LE realdisplay
	cd $(BUILD) && ctest --output-on-failure -j$(JOBS) -L realdisplay --repeat until-pass:2

# The driver scripts again on the SDL display of a private X server, input through XTest.
test-realdisplay: build
	cd $(BUILD) && ctest --output-on-failure -j$(JOBS) -L realdisplay

# Release build of the benchmarks; ends with one "name = value" line per headline figure.
bench: release
	./scripts/bench $(RELEASE)

# Every fuzz target built with clang and run FUZZ_SECONDS (60) on a copy of its corpus.
fuzz: deps
	./scripts/fuzz

# Debian package of the Release build: build/release/textbook_<version>_<arch>.deb.
package: release
	cd $(RELEASE) && cpack -G DEB

sanitize: deps
	cmake -S . -B build/asan -DCMAKE_BUILD_TYPE=Debug -DTEXTBOOK_SANITIZE=ON
	cmake --build build/asan -j$(JOBS)
	cd build/asan && ctest --output-on-failure -j$(JOBS)

clean:
	rm -rf build
