# The two commands of the README, and the developer targets beside them.
# Every target first installs the Debian packages that are missing.

BUILD_DIR ?= build
JOBS ?= 2
PACKAGES := cmake g++ make pkg-config qt6-base-dev libgl-dev libsqlite3-dev libsimpleini-dev libicu-dev \
            poppler-utils fonts-dejavu-core libbenchmark-dev
# Update packages: expanded with libmspack, made with gcab, signed with libsodium.
PACKAGES += libmspack-dev gcab libsodium-dev
# The reader of the older program's Jet data files (File, Import Books).
PACKAGES += mdbtools-dev
# Statements by e-mail: SMTP through libcurl, the password in the desktop's secret store.
PACKAGES += libcurl4-openssl-dev libsecret-1-dev
# The PDF writer: font subsets and compressed streams.
PACKAGES += libharfbuzz-dev zlib1g-dev
# The sanitizer run and the fuzz targets use Debian's clang and its libFuzzer.
PACKAGES += clang libclang-rt-14-dev
# The test of qv-import gifts reads the data file with SQLite's shell.
PACKAGES += sqlite3
# Label sheets of the label windows.
PACKAGES += glabels-data
# The charts of the giving trends window.
# Its CMake files need the OpenGL module's, which the package does not pull in.
PACKAGES += qt6-charts-dev libqt6opengl6-dev
SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: all deps configure build run test test-sanitize soak fuzz bench bench-large demo screenshots clean dev-key

all: build

deps:
	@missing=$$(for p in $(PACKAGES); do \
	    dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q '^install ok installed' || echo $$p; done); \
	if [ -n "$$missing" ]; then \
	    echo "Installing missing packages:" $$missing; \
	    $(SUDO) env DEBIAN_FRONTEND=noninteractive apt-get update -qq && \
	    $(SUDO) env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $$missing; \
	fi

configure: deps
	@[ -f $(BUILD_DIR)/CMakeCache.txt ] || cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: configure
	cmake --build $(BUILD_DIR) -j$(JOBS)

run: build
	$(BUILD_DIR)/bin/quorvane

test: build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j$(JOBS)

# The whole suite again, built with AddressSanitizer and UndefinedBehaviorSanitizer
# in a folder of its own. Leaks inside the system's font and display libraries
# are not ours and are listed in tests/lsan.supp.
SANITIZE_DIR ?= build-sanitize
test-sanitize: deps
	@[ -f $(SANITIZE_DIR)/CMakeCache.txt ] || cmake -S . -B $(SANITIZE_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	    -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined" \
	    -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined"
	cmake --build $(SANITIZE_DIR) -j$(JOBS)
	cd $(SANITIZE_DIR) && QT_QPA_PLATFORM=offscreen \
	    ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp \
	    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 ctest --output-on-failure -j$(JOBS)

# Many more crash trials than make test runs: a child process killed in the
# middle of each multi-row action, 200 times per action.
SOAK_TRIALS ?= 200
soak: build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen QV_CRASH_TRIALS=$(SOAK_TRIALS) ctest --output-on-failure -V -R crash_trials

# libFuzzer targets (clang), each run for FUZZ_SECONDS: amount and whole-number
# text, the SQL text literal through the engine, the settings-file reader,
# the update package reader (signature and expansion), and the import of
# the older program's file with a damaged table definition and usage map.
FUZZ_DIR ?= build-fuzz
FUZZ_SECONDS ?= 60
FUZZ_TARGETS ?= fuzz_numbers fuzz_text_literal fuzz_settings fuzz_package fuzz_legacy fuzz_gifts
fuzz: deps
	@[ -f $(FUZZ_DIR)/CMakeCache.txt ] || CC=clang CXX=clang++ cmake -S . -B $(FUZZ_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQV_FUZZ=ON \
	    -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined"
	cmake --build $(FUZZ_DIR) -j$(JOBS) --target $(FUZZ_TARGETS)
	@for t in $(FUZZ_TARGETS); do \
	    mkdir -p $(FUZZ_DIR)/corpus/$$t; \
	    echo "== $$t, $(FUZZ_SECONDS) s"; \
	    $(FUZZ_DIR)/bin/$$t -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 $(FUZZ_DIR)/corpus/$$t tests/fuzz/seeds/$$t || exit 1; \
	done

bench: build
	$(BUILD_DIR)/bin/qv-bench

# The same at 20,000 contributors (a 390 MB data set, generated once).
bench-large: build
	$(BUILD_DIR)/bin/qv-bench --contributors 20000

# One PNG per window, rendered offscreen, in screenshots/: at the usual font,
# then at 14 pt (named ...-14pt.png), the size many older treasurers use.
screenshots: build
	QT_QPA_PLATFORM=offscreen $(BUILD_DIR)/bin/qv-screenshots screenshots
	QT_QPA_PLATFORM=offscreen $(BUILD_DIR)/bin/qv-screenshots screenshots 14

# A demonstration data set: 120 households, three years of weekly sets.
demo: build
	$(BUILD_DIR)/bin/qv-sample $(HOME)/QuorvaneDemo.MDB --contributors 120 --years 3 --last-year $$(date +%Y)

# The update package QVUPD.VXO, a cabinet holding the program as built,
# signed with the secret key in SIGNING_KEY (a file; make one with
# build/bin/qv-sign keygen FILE and keep it off the computer the package is
# sent from). The program packed carries that key's public half, so the
# packages it accepts later are the ones signed with the same key. Without
# SIGNING_KEY the development key keys/dev-update.key is used, made if
# missing: such a package installs only into programs built here.
DEV_KEY := $(CURDIR)/keys/dev-update.key
SIGNING_KEY ?=
.PHONY: package
package: configure
	@if [ -z "$(SIGNING_KEY)" ]; then \
	    echo "No SIGNING_KEY given: signing with the development key $(DEV_KEY)"; \
	    key="$(DEV_KEY)"; \
	else key="$(abspath $(SIGNING_KEY))"; [ -f "$$key" ] || { echo "SIGNING_KEY: no such file: $$key"; exit 1; }; fi; \
	cmake -S . -B $(BUILD_DIR) -DQV_UPDATE_SIGNING_KEY="$$key" -DQV_UPDATE_PUBLIC_KEY= >/dev/null
	cmake --build $(BUILD_DIR) -j$(JOBS)
	cmake --build $(BUILD_DIR) --target update_package
	@echo "$(BUILD_DIR)/QVUPD.VXO"

# The development key pair for update packages (keys/, never committed).
# Configuring makes it when missing; this target says where it is.
dev-key: configure
	@[ -f $(DEV_KEY) ] || cmake -S . -B $(BUILD_DIR) -DQV_UPDATE_SIGNING_KEY=$(DEV_KEY) >/dev/null
	@echo "$(DEV_KEY): public key $$(cmake --build $(BUILD_DIR) --target qv-sign >/dev/null && $(BUILD_DIR)/bin/qv-sign public $(DEV_KEY))"

clean:
	rm -rf $(BUILD_DIR)
