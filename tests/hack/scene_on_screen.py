#!/usr/bin/python3
"""Does a screenshot show the saver's scene?
   scene_on_screen.py IMAGE sky|snow

sky:  the night-sky gradient: at five heights from top to bottom, the
      usual (median) colour of the row is bluer than red, and bluer at each
      height than at the one above.
snow: the sky and, on top of it, particles: pixels that stand out from their
      row's usual colour (the gradient is the same along a row).
Exit status 0 when the picture shows it; one line of figures either way."""
import subprocess
import sys

path, wanted = sys.argv[1], sys.argv[2]
size = subprocess.run(['identify', '-format', '%w %h', path], capture_output=True, text=True, check=True)
width, height = (int(v) for v in size.stdout.split())
data = subprocess.run(['convert', path, '-depth', '8', 'rgb:-'], capture_output=True, check=True).stdout

usual = []
standing_out = 0
rows_with_particles = 0
for y in range(height):
    row = data[y * width * 3:(y + 1) * width * 3]
    pixels = [row[x * 3:x * 3 + 3] for x in range(width)]
    median = [sorted(p[c] for p in pixels)[width // 2] for c in range(3)]
    usual.append(median)
    count = sum(1 for p in pixels if max(abs(p[c] - median[c]) for c in range(3)) > 24)
    standing_out += count
    rows_with_particles += count > 0

samples = [usual[(height - 1) * i // 4] for i in range(5)]
blues = [s[2] for s in samples]
sky = all(s[2] > s[0] for s in samples) and blues == sorted(blues) and blues[-1] - blues[0] >= 20
# At least one pixel in two thousand and five rows: a few flakes, not noise.
snow = standing_out * 2000 >= width * height and rows_with_particles >= 5
print(f'row colours top to bottom {samples}; {standing_out} pixels stand out in {rows_with_particles} rows')
sys.exit(0 if sky and (snow or wanted == 'sky') else 1)
