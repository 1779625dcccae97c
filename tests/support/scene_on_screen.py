#!/usr/bin/python3
"""Does a screenshot show the saver's scene?
   scene_on_screen.py IMAGE [--crop WxH+X+Y] [--sky] [--particles PIXELS ROWS]
                      [--covered SHARE]

--sky        the night-sky gradient: at five heights from top to bottom, the
             usual (median) colour of the row is bluer than red, and bluer at
             each height than at the one above.
--particles  at least PIXELS pixels, in at least ROWS rows, stand out from
             their row's usual colour (the gradient is the same along a row,
             so what stands out is a snowflake or a snow particle).
--covered    at least SHARE (0 to 1) of the pixels are sky or snow: bluer than
             red, or light; what is left of a scene drawn too small is black
             or the desktop's grey.
--crop       judges that part of the image only.
Exit status 0 when the picture shows all that was asked for; one line of
figures either way."""
import subprocess
import sys

path, options = sys.argv[1], sys.argv[2:]
crop = ['-crop', options[options.index('--crop') + 1], '+repage'] if '--crop' in options else []
size = subprocess.run(['convert', path] + crop + ['-format', '%w %h', 'info:'], capture_output=True, text=True,
                      check=True)
width, height = (int(v) for v in size.stdout.split())
data = subprocess.run(['convert', path] + crop + ['-depth', '8', 'rgb:-'], capture_output=True, check=True).stdout

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

shown = True
samples = [usual[(height - 1) * i // 4] for i in range(5)]
if '--sky' in options:
    blues = [s[2] for s in samples]
    shown = all(s[2] > s[0] for s in samples) and blues == sorted(blues) and blues[-1] - blues[0] >= 20
if '--particles' in options:
    at = options.index('--particles')
    shown = shown and standing_out >= int(options[at + 1]) and rows_with_particles >= int(options[at + 2])
covered = sum(1 for i in range(0, len(data), 3)
              if data[i + 2] >= data[i] + 6 or min(data[i:i + 3]) >= 120) / (width * height)
if '--covered' in options:
    shown = shown and covered >= float(options[options.index('--covered') + 1])
print(f'row colours top to bottom {samples}; {standing_out} pixels stand out in {rows_with_particles} rows; '
      f'{covered:.3f} of {width}x{height} sky or snow')
sys.exit(0 if shown else 1)
