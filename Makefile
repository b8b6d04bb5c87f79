# VRM-650T: the two commands a new user needs are `make run` and `make test`.
PREFIX   ?= /usr/local
UDEVDIR  ?= /etc/udev/rules.d
BUILD    := build
SIMSTATE ?= $(CURDIR)/$(BUILD)/sim/radio.state

.PHONY: all bootstrap configure build run cli test test-default test-sanitize bench install uninstall clean

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

test: test-default test-sanitize

test-default: build
	ctest --preset default

test-sanitize: bootstrap
	@cmake --preset sanitize >/dev/null
	@cmake --build --preset sanitize
	ctest --preset sanitize

bench: build
	@for b in $(BUILD)/bench/bench_*; do [ -x "$$b" ] && "$$b"; done

install: build
	cmake --install $(BUILD) --prefix $(PREFIX)
	@if [ -f pipelink/60-vrm650t-cable.rules ]; then \
	  install -D -m 644 pipelink/60-vrm650t-cable.rules $(DESTDIR)$(UDEVDIR)/60-vrm650t-cable.rules && \
	  echo "installed the cable's udev rule in $(DESTDIR)$(UDEVDIR)"; \
	  if [ -z "$(DESTDIR)" ] && command -v udevadm >/dev/null 2>&1; then \
	    udevadm control --reload-rules 2>/dev/null && udevadm trigger --subsystem-match=usb 2>/dev/null \
	      && echo "udev rules reloaded" || echo "could not reload udev; re-plug the cable"; \
	  fi; \
	fi

uninstall:
	rm -rf $(DESTDIR)$(PREFIX)/lib/vrm650t $(DESTDIR)$(PREFIX)/bin/vrm650t $(DESTDIR)$(PREFIX)/bin/vrm650t-cli
	rm -f $(DESTDIR)$(UDEVDIR)/60-vrm650t-cable.rules

clean:
	rm -rf $(BUILD) build-sanitize
