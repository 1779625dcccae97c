#!/usr/bin/python3
"""Runs every asset generator into an empty folder and compares the output
with the committed resources byte for byte: the generators are the source of
the assets, so the two must never drift apart.

Usage: regenerate.py TOOLS_DIR RESOURCE_DIR WORK_DIR
"""
import filecmp
import os
import shutil
import subprocess
import sys

GENERATORS = ["make_rectangle.py", "make_snowflakes.py", "make_bitmaps.py", "make_icons.py"]
# Resource numbers whose files come from these generators.
GENERATED_IDS = {102, 103, 113} | set(range(115, 122)) | set(range(140, 158))


def main():
    if len(sys.argv) != 4:
        sys.stderr.write("usage: regenerate.py TOOLS_DIR RESOURCE_DIR WORK_DIR\n")
        return 2
    tools, resources, work = sys.argv[1:]
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    for generator in GENERATORS:
        result = subprocess.run([sys.executable, os.path.join(tools, generator), work],
                                stdout=subprocess.DEVNULL)
        if result.returncode != 0:
            print("%s failed with status %d" % (generator, result.returncode))
            return 1
    made = sorted(os.listdir(work))
    faults = 0
    made_ids = {int(name.split("_")[0]) for name in made}
    for number in sorted(GENERATED_IDS - made_ids):
        print("no generator writes resource %d" % number)
        faults += 1
    for name in made:
        committed = os.path.join(resources, name)
        if not os.path.exists(committed):
            print("%s is generated but not committed" % name)
            faults += 1
        elif not filecmp.cmp(os.path.join(work, name), committed, shallow=False):
            print("%s differs from what its generator writes" % name)
            faults += 1
    for name in sorted(os.listdir(resources)):
        number = name.split("_")[0]
        if number.isdigit() and int(number) in GENERATED_IDS and name not in made:
            print("%s is committed but no generator writes it" % name)
            faults += 1
    print("%d files compared, %d faults" % (len(made), faults))
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
