# The two commands: `make run` plays the game, `make test` runs every test.
# Both install what is missing, configure and build first.
BUILD := build
SANITIZE_BUILD := build-sanitize
JOBS := $(shell nproc)

.PHONY: run test build deps test-sanitize bench clean

run: build
	./$(BUILD)/vantorix

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j$(JOBS)
	$(MAKE) test-sanitize

# The logic and the simulator once more under AddressSanitizer and UBSan.
test-sanitize: deps
	cmake -S . -B $(SANITIZE_BUILD) -DVANTORIX_SANITIZE=ON
	cmake --build $(SANITIZE_BUILD) -j$(JOBS)
	ctest --test-dir $(SANITIZE_BUILD) --output-on-failure -j$(JOBS) -L sanitize

build: deps
	cmake -S . -B $(BUILD)
	cmake --build $(BUILD) -j$(JOBS)

deps:
	scripts/install-deps

bench: build
	bench/run

clean:
	rm -rf $(BUILD) $(SANITIZE_BUILD)
