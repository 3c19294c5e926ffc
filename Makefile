# The two commands a user needs: `make run` and `make test`. Both install
# what is missing first (Debian packages, through scripts/install-deps).
BUILD_DIR ?= build
ASAN_DIR ?= build-asan
FUZZ_DIR ?= build-fuzz
FUZZ_SECONDS ?= 60
CMAKE_GENERATOR := -G Ninja

.PHONY: all deps build run test test-asan bench fuzz clean

all: build

deps:
	@./scripts/install-deps

build: deps
	cmake -S . -B $(BUILD_DIR) $(CMAKE_GENERATOR) -DCMAKE_BUILD_TYPE=Release
	cmake --build $(BUILD_DIR)

run: build
	./$(BUILD_DIR)/src/app/tonvault

test: build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure

# The plain C++ layers and their tests under AddressSanitizer and
# UndefinedBehaviorSanitizer.
test-asan: deps
	cmake -S . -B $(ASAN_DIR) $(CMAKE_GENERATOR) -DCMAKE_BUILD_TYPE=Debug \
	  -DTONVAULT_SANITIZE=ON -DTONVAULT_BUILD_UI=OFF -DTONVAULT_BUILD_BENCH=OFF
	cmake --build $(ASAN_DIR)
	cd $(ASAN_DIR) && ctest --output-on-failure

bench: build
	./scripts/run-benchmarks $(BUILD_DIR)

fuzz: deps
	cmake -S . -B $(FUZZ_DIR) $(CMAKE_GENERATOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_CXX_COMPILER=clang++ -DTONVAULT_FUZZ=ON -DTONVAULT_BUILD_UI=OFF \
	  -DTONVAULT_BUILD_BENCH=OFF -DBUILD_TESTING=OFF
	cmake --build $(FUZZ_DIR)
	./scripts/run-fuzzers $(FUZZ_DIR) $(FUZZ_SECONDS)

clean:
	rm -rf $(BUILD_DIR) $(ASAN_DIR) $(FUZZ_DIR)
