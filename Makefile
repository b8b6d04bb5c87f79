# VRM-650T: the two commands a new user needs are `make run` and `make test`.
PREFIX   ?= /usr/local
UDEVDIR  ?= /etc/udev/rules.d
BUILD    := build
SIMSTATE ?= $(CURDIR)/$(BUILD)/sim/radio.state

.PHONY: all bootstrap configure build run cli test test-default test-sanitize test-fuzz fuzz bench install uninstall deb clean

all: build

bootstrap:
	@scripts/bootstrap

configure: bootstrap
	@cmake --preset default >/dev/null

build: configure
	@cmake --build --preset default

# Starts the program with the simulated radio first on the library path, so a
# radio can be read and written without a cable.
run: build
	LD_LIBRARY_PATH=$(CURDIR)/$(BUILD)/sim VRM650T_SIM_STATE=$(SIMSTATE) $(BUILD)/bin/vrm650t

test: test-default test-sanitize test-fuzz

test-default: build
	ctest --preset default

test-sanitize: bootstrap
	@cmake --preset sanitize >/dev/null
	@cmake --build --preset sanitize
	ctest --preset sanitize

# Every fuzz target for 20 s on its corpus in the tree, when clang is there.
test-fuzz: bootstrap
	@if command -v clang++-14 >/dev/null 2>&1; then \
	  cmake --preset fuzz >/dev/null && cmake --build --preset fuzz && ctest --preset fuzz; \
	else \
	  echo "test-fuzz: SKIPPED, clang++-14 is not installed (scripts/bootstrap installs it)"; \
	fi

# Builds the fuzz targets and runs each for FUZZ_SECONDS, keeping what they
# find in FUZZ_CORPUS (outside the tree): new inputs in FUZZ_CORPUS/<target>,
# crashes in FUZZ_CORPUS/findings. FUZZ_TARGETS picks some of them.
FUZZ_SECONDS ?= 60
FUZZ_CORPUS  ?= $(HOME)/.cache/vrm650t-fuzz
FUZZ_TARGETS ?= data_file tuning_file language_file config_text channel_csv field_set protocol
fuzz: bootstrap
	@cmake --preset fuzz >/dev/null
	@cmake --build --preset fuzz
	@for t in $(FUZZ_TARGETS); do \
	  echo "fuzz: $$t for $(FUZZ_SECONDS) s, new inputs in $(FUZZ_CORPUS)/$$t"; \
	  fuzz/run.sh build-fuzz/fuzz/fuzz_$$t $(FUZZ_SECONDS) $(FUZZ_CORPUS)/$$t || exit 1; \
	done

# Runs every benchmark program once and prints its figures; fails when a
# benchmark reported an error or none was found.
bench: build
	@failed=""; n=0; \
	for b in $(BUILD)/bin/bench_*; do \
	  [ -f "$$b" ] && [ -x "$$b" ] || continue; n=$$((n + 1)); \
	  echo "== $$(basename $$b)"; \
	  "$$b" || failed="$$failed $$(basename $$b)"; \
	done; \
	if [ $$n -eq 0 ]; then echo "bench: no benchmark programs in $(BUILD)/bin" >&2; exit 1; fi; \
	if [ -n "$$failed" ]; then echo "bench: failed:$$failed" >&2; exit 1; fi; \
	echo "bench: $$n benchmark programs ran"

# Installs the programs, the language files and help pages in PREFIX/lib/vrm650t,
# the commands in PREFIX/bin, the desktop entry, icons, metainfo, man pages,
# bash completion and the cable's udev rule under PREFIX (as the package does
# under /usr). udev reads rules under /usr and /usr/local only; for another
# PREFIX the rule is copied to UDEVDIR as well.
install: build
	DESTDIR=$(DESTDIR) cmake --install $(BUILD) --prefix $(PREFIX)
	@case "$(PREFIX)" in /usr|/usr/local) ;; *) \
	  install -D -m 644 pipelink/60-vrm650t-cable.rules $(DESTDIR)$(UDEVDIR)/60-vrm650t-cable.rules && \
	  echo "installed the cable's udev rule in $(DESTDIR)$(UDEVDIR)";; esac
	@if [ -z "$(DESTDIR)" ] && command -v udevadm >/dev/null 2>&1; then \
	  udevadm control --reload-rules 2>/dev/null && udevadm trigger --subsystem-match=usb 2>/dev/null \
	    && echo "udev rules reloaded" || echo "could not reload udev; re-plug the cable"; \
	fi

# Removes what `make install` installed.
uninstall:
	@if [ -f $(BUILD)/install_manifest.txt ]; then xargs rm -f < $(BUILD)/install_manifest.txt; fi
	rm -rf $(DESTDIR)$(PREFIX)/lib/vrm650t $(DESTDIR)$(PREFIX)/bin/vrm650t $(DESTDIR)$(PREFIX)/bin/vrm650t-cli
	rm -f $(DESTDIR)$(UDEVDIR)/60-vrm650t-cable.rules

# The Debian package vrm650t_<version>_amd64.deb in $(BUILD)/, checked by
# lintian. Built in its own folder with only what the package ships (no tests,
# no benchmarks), so a fresh clone builds about half as much.
deb: bootstrap
	@cmake --preset package >/dev/null
	@cmake --build --preset package
	cd build-package && cpack -G DEB -B $(CURDIR)/$(BUILD)
	@if command -v lintian >/dev/null 2>&1; then lintian --fail-on error $(BUILD)/vrm650t_*_amd64.deb; fi

clean:
	rm -rf $(BUILD) build-package build-sanitize build-fuzz
