# Two commands do everything on a fresh Debian machine:
#   make run   installs what is missing, builds and opens Verlo
#   make test  installs what is missing, builds and runs every test
BUILD_DIR ?= build
JOBS ?= $(shell nproc)
PREFIX ?= /usr/local
# What `make install` put where. cmake's own install_manifest.txt is rewritten by every install
# into any prefix (the tests and cpack make some), so a copy is kept for `make uninstall`.
INSTALLED = $(BUILD_DIR)/installed-files.txt

.PHONY: deps configure build run test test-portable format-check qmllint demo screenshots bench install \
	uninstall package translations clean

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

# The scanner's tests against the portable platform code (cmake/Platform.cmake: readdir and fstatat
# in the size walk, waiting for a child without pidfd or /proc, the Trash without renameat2), in a
# build of their own.
PORTABLE_DIR ?= build-portable
PORTABLE_TESTS = test_sizes test_trash test_process test_removal test_trust test_leftovers
empty :=
space := $(empty) $(empty)
test-portable: deps
	scripts/configure.sh $(PORTABLE_DIR) -DVERLO_PLATFORM=portable
	cmake --build $(PORTABLE_DIR) -j $(JOBS) --target $(PORTABLE_TESTS) size_probe
	cd $(PORTABLE_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS) \
		-R '^($(subst $(space),|,$(PORTABLE_TESTS)))$$'

# Every C++ file as the project's .clang-format lays it out.
format-check:
	git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

# Every QML file against the module's type descriptions; any warning fails.
qmllint: deps configure
	cmake --build $(BUILD_DIR) -j $(JOBS) --target all_qmllint

demo: build
	scripts/demo.sh $(BUILD_DIR)

screenshots: build
	scripts/screenshots.sh $(BUILD_DIR)

bench: build
	bench/run.sh $(BUILD_DIR)

install: build
	cmake --install $(BUILD_DIR) --prefix $(PREFIX)
	cp $(BUILD_DIR)/install_manifest.txt $(INSTALLED)

uninstall:
	@test -f $(INSTALLED) || { echo "Nothing to uninstall: $(INSTALLED) is missing" >&2; exit 1; }
	xargs -r -d '\n' rm -fv < $(INSTALLED)
	rm -f $(INSTALLED)

# verlo_<version>_<arch>.deb in $(BUILD_DIR)
package: build
	cd $(BUILD_DIR) && cpack -G DEB

# Refreshes the translation template translations/verlo.ts from the sources.
translations: configure
	cmake --build $(BUILD_DIR) --target update_translations

clean:
	rm -rf $(BUILD_DIR)
