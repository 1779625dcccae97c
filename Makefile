# The front door. Each target sets up what is missing first.
.PHONY: run test test-debian13 linux windows release package bench fuzz clean

run:
	@scripts/run

test:
	@scripts/test

test-debian13:
	@scripts/test-debian13

linux:
	@scripts/setup
	@scripts/build linux

windows:
	@scripts/setup windows
	@scripts/build windows

release: windows
	@scripts/release

package: linux
	@scripts/package

bench:
	@scripts/setup bench
	@scripts/build bench
	@scripts/bench

fuzz:
	@scripts/setup
	@scripts/build fuzz
	@scripts/fuzz 600

clean:
	rm -rf build out
