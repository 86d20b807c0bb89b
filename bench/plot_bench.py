"""The peer of plot_bench: the same four curves plotted with matplotlib.

    plot_bench.py DATA SAMPLES STEP WIDTH HEIGHT OUT.png

Reads the curves' floats (GR, ILD, RHOB, NPHI .f32 files in DATA, as the
bench wrote them into the database), plots them as log tracks side by side
on one shared depth axis running down (ILD on a logarithmic scale, NPHI
reversed), a figure of WIDTH x HEIGHT pixels, and saves it as a PNG. The
bench times this whole process, imports included, as it times tavlo's.
"""
import sys

import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt  # noqa: E402
import numpy as np  # noqa: E402


def main():
    data, samples, step, width, height, out = sys.argv[1:7]
    samples, step, width, height = int(samples), int(step), int(width), int(height)
    depth = np.arange(samples, dtype=np.float64) * step / 6000.0
    tracks = [("GR", "linear", (0, 150)), ("ILD", "log", (0.2, 2000)),
              ("RHOB", "linear", (1.95, 2.95)), ("NPHI", "linear", (0.45, -0.15))]
    dpi = 96
    figure, axes = plt.subplots(1, len(tracks), sharey=True,
                                figsize=(width / dpi, height / dpi), dpi=dpi)
    for axis, (name, scale, limits) in zip(axes, tracks):
        values = np.fromfile(f"{data}/{name}.f32", dtype=np.float32, count=samples)
        axis.plot(values, depth, linewidth=1.0)
        axis.set_xscale(scale)
        axis.set_xlim(*limits)
        axis.set_title(name)
        axis.grid(True, which="both", linewidth=0.3)
    axes[0].invert_yaxis()
    figure.savefig(out, dpi=dpi)


if __name__ == "__main__":
    main()
