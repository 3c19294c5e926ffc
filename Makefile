# The two commands a user needs: `make run` and `make test`. Both install
# what is missing first (Debian packages, through scripts/install-deps).
BUILD_DIR ?= build
ASAN_DIR ?= build-asan
FUZZ_DIR ?= build-fuzz
FUZZ_SECONDS ?= 60
PREFIX ?= /usr/local
CMAKE_GENERATOR := -G Ninja

.PHONY: all deps build run test test-asan bench fuzz clean install package screenshots

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

# Installs under $(PREFIX) (DESTDIR is honoured, for staging).
install: build
	cmake --install $(BUILD_DIR) --prefix $(PREFIX)

# A Debian package in $(BUILD_DIR): sudo apt install ./$(BUILD_DIR)/tonvault_*.deb
package: build
	cd $(BUILD_DIR) && cpack

# Pictures of every page on generated music, for the manual and the README.
screenshots: build
	cmake --build $(BUILD_DIR) --target screenshots

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
