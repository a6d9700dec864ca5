# The two commands of the README, and the others.
.PHONY: run test fuzz dist bench lint screenshots clean

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
