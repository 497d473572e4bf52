# The two commands of the README, and the developer targets beside them.
# Every target first installs the Debian packages that are missing.

BUILD_DIR ?= build
JOBS ?= 2
PACKAGES := cmake g++ make pkg-config qt6-base-dev libgl-dev libsqlite3-dev libsimpleini-dev libicu-dev \
            poppler-utils fonts-dejavu-core libbenchmark-dev
# Label sheets of the label windows.
PACKAGES += glabels-data
SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: all deps configure build run test bench demo screenshots clean

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

bench: build
	$(BUILD_DIR)/bin/qv-bench

# One PNG per window, rendered offscreen, in screenshots/.
screenshots: build
	QT_QPA_PLATFORM=offscreen $(BUILD_DIR)/bin/qv-screenshots screenshots

# A demonstration data set: 120 households, three years of weekly sets.
demo: build
	$(BUILD_DIR)/bin/qv-sample $(HOME)/QuorvaneDemo.MDB --contributors 120 --years 3 --last-year $$(date +%Y)

clean:
	rm -rf $(BUILD_DIR)
