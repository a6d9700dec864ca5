# The two commands of the README, and the others.
.PHONY: run test test32 fuzz dist bench lint screenshots clean

run:
	scripts/run-clock.sh

test:
	scripts/test.sh

fuzz:
	scripts/fuzz.sh

dist:
	scripts/dist.sh

bench:
	scripts/bench.sh

lint:
	scripts/lint.sh

clean:
	rm -rf build

screenshots:
	scripts/screenshots.sh

# The 32-bit release run end to end under emulation (README, "The 32-bit lane").
test32:
	scripts/test32.sh
