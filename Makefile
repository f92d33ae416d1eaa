# The two commands: `make run` plays the game, `make test` runs every test.
# Both install what is missing, configure and build first.
BUILD := build
SANITIZE_BUILD := build-sanitize
JOBS := $(shell nproc)

.PHONY: run test build deps deps-run test-sanitize test-fuzz bench clean package package-check mutate

# Playing needs the game and its media alone: no test toolchain, no test programs.
# A first configure made for playing leaves the tests out; `make test` puts them in.
run: deps-run
	cmake -S . -B $(BUILD) $(if $(wildcard $(BUILD)/CMakeCache.txt),,-DBUILD_TESTING=OFF)
	cmake --build $(BUILD) -j$(JOBS) --target vantorix
	./$(BUILD)/vantorix

# Runs that take minutes carry the ctest label "long" and stay out of this set
# (`ctest --test-dir build -L long` runs them).
test: build
	ctest --test-dir $(BUILD) --output-on-failure -j$(JOBS) -LE long
	$(MAKE) test-sanitize
	$(MAKE) test-fuzz

# The logic and the simulator once more under AddressSanitizer and UBSan.
test-sanitize: deps
	cmake -S . -B $(SANITIZE_BUILD) -DVANTORIX_SANITIZE=ON
	cmake --build $(SANITIZE_BUILD) -j$(JOBS) --target sanitize_tests
	ctest --test-dir $(SANITIZE_BUILD) --output-on-failure -j$(JOBS) -L sanitize

# The readers of media commands, songs and effects under libFuzzer, briefly.
test-fuzz: deps
	fuzz/run 15

# Mutation testing: one planted slip at a time, the fast tests as the judge; about
# an hour and a quarter, not part of `make test`. MUTATE_FILES="src/game/beam.cpp ..." runs a part.
mutate: deps
	tools/mutate/mutate

build: deps
	cmake -S . -B $(BUILD) -DBUILD_TESTING=ON
	cmake --build $(BUILD) -j$(JOBS)

deps:
	scripts/install-deps

deps-run:
	scripts/install-deps run

bench: build
	bench/run

# The .deb, as build/vantorix_<version>_<arch>.deb.
package: build
	cd $(BUILD) && cpack -G DEB

# The .deb built and checked as the install tests do, then by lintian.
package-check: build
	scripts/install-deps package
	ctest --test-dir $(BUILD) --output-on-failure -R '^install-deb'

clean:
	rm -rf $(BUILD) $(SANITIZE_BUILD) build-fuzz build-mutate
