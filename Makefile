# Two commands do everything on a fresh Debian machine:
#   make run   installs what is missing, builds and opens Verlo
#   make test  installs what is missing, builds and runs every test
BUILD_DIR ?= build
JOBS ?= $(shell nproc)

.PHONY: deps configure build run test demo screenshots bench clean

deps:
	@scripts/install-deps.sh

$(BUILD_DIR)/build.ninja:
	@$(MAKE) --no-print-directory deps
	scripts/configure.sh $(BUILD_DIR)

configure: $(BUILD_DIR)/build.ninja

build: deps configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	scripts/open-window.sh $(BUILD_DIR)/app/verlo

test: build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

demo: build
	scripts/demo.sh $(BUILD_DIR)

screenshots: build
	scripts/screenshots.sh $(BUILD_DIR)

bench: build
	bench/run.sh $(BUILD_DIR)

clean:
	rm -rf $(BUILD_DIR)
