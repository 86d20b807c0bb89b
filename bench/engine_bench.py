#!/usr/bin/env python3
"""The numpy peer of engine_bench: the same formula texts, evaluated strictly
left to right (no operator precedence, parentheses the only grouping), on the
same floats held in memory.

    engine_bench.py FOLDER SAMPLES ROUNDS

FOLDER holds formulas.txt (NAME=FORMULA a line), the inputs as raw
little-endian float32 files NAME.f32, and the curves the run wrote, also as
NAME.f32 under the output names. Prints the best time of ROUNDS evaluations
of every formula ("numpy seconds S"), then checks the run's curves against
numpy's results; exit status 1 when they differ.

Evaluation follows the engine: samples are read as float32 and computed in
float64, each result stored as float32. A division by 0 (or by a missing
value) gives 0; SQRT, LN and LOG10 of a value not above 0 give 0; MIN keeps
the current value unless a later one is smaller, MAX takes a later value
that is greater or does not compare.
"""
import os
import re
import sys
import time

import numpy as np

TOKEN = re.compile(r"\s*(?:(\d+\.?\d*|\.\d+)|([A-Za-z_][A-Za-z0-9_]*)|(\S))")


def tokenize(text):
    tokens = []
    position = 0
    text = text.rstrip()
    while position < len(text):
        match = TOKEN.match(text, position)
        if match is None:
            break
        number, name, sign = match.groups()
        if number is not None:
            tokens.append(("number", float(number)))
        elif name is not None:
            tokens.append(("name", name.upper()))
        else:
            tokens.append(("sign", sign))
        position = match.end()
    return tokens


def positive_or_zero(function):
    def call(value):
        value = np.asarray(value, dtype=np.float64)
        result = np.zeros_like(value)
        function(value, out=result, where=value > 0.0)
        return result

    return call


def power(base, exponent):
    with np.errstate(all="ignore"):
        result = np.power(base, exponent)
    # A domain error, a pole or an overflow is worth 0, as in the engine.
    bad = ~np.isfinite(result) & np.isfinite(base) & np.isfinite(exponent)
    if np.any(bad):
        result = np.where(bad, 0.0, result)
    return result


def smallest(*values):
    current = values[0]
    for value in values[1:]:
        current = np.where(value < current, value, current)
    return current


def largest(*values):
    current = values[0]
    for value in values[1:]:
        current = np.where(np.greater_equal(current, value), current, value)
    return current


FUNCTIONS = {
    "SQRT": positive_or_zero(np.sqrt),
    "LN": positive_or_zero(np.log),
    "LOG10": positive_or_zero(np.log10),
    "SIN": np.sin,
    "COS": np.cos,
    "TAN": np.tan,
    "ABS": np.abs,
    "POW": power,
    "AVG": lambda *values: sum(values[1:], values[0]) / len(values),
    "MIN": smallest,
    "MAX": largest,
}


def divide(left, right):
    right = np.asarray(right, dtype=np.float64)
    # Neither 0 nor missing: NaN compares unequal to itself.
    good = (right != 0.0) & (right == right)
    result = np.zeros(np.broadcast(left, right).shape)
    np.divide(left, right, out=result, where=good)
    return result


OPERATORS = {
    "+": np.add,
    "-": np.subtract,
    "*": np.multiply,
    "/": divide,
}


class Formula:
    """A formula compiled to a tree of numpy calls, read left to right."""

    def __init__(self, text):
        self.text = text
        self.tokens = tokenize(text)
        self.at = 0
        self.tree = self.level(top=True)

    def peek(self):
        return self.tokens[self.at] if self.at < len(self.tokens) else ("end", None)

    def take(self):
        token = self.peek()
        self.at += 1
        return token

    def level(self, top=False):
        """Operands and operators up to ")", "," or the end."""
        tree = self.operand()
        while True:
            kind, value = self.peek()
            if kind == "end" or (kind == "sign" and value in "),"):
                if top and kind != "end":
                    raise ValueError(f"{self.text}: unexpected '{value}'")
                return tree
            if kind != "sign" or value not in OPERATORS:
                raise ValueError(f"{self.text}: operator expected at '{value}'")
            self.take()
            tree = ("op", value, tree, self.operand())

    def operand(self):
        kind, value = self.take()
        if kind == "number":
            return ("const", value)
        if kind == "name":
            if self.peek() == ("sign", "("):
                self.take()
                arguments = [self.level()]
                while self.peek() == ("sign", ","):
                    self.take()
                    arguments.append(self.level())
                self.expect(")")
                if value not in FUNCTIONS:
                    raise ValueError(f"{self.text}: no function {value}")
                return ("call", value, arguments)
            return ("name", value)
        if (kind, value) == ("sign", "("):
            tree = self.level()
            self.expect(")")
            return tree
        raise ValueError(f"{self.text}: operand expected at '{value}' (a sign is not supported)")

    def expect(self, sign):
        if self.take() != ("sign", sign):
            raise ValueError(f"{self.text}: '{sign}' expected")

    def names(self, tree=None):
        tree = self.tree if tree is None else tree
        if tree[0] == "name":
            return {tree[1]}
        if tree[0] == "op":
            return self.names(tree[2]) | self.names(tree[3])
        if tree[0] == "call":
            return set().union(*(self.names(each) for each in tree[2]))
        return set()

    def evaluate(self, values, tree=None):
        tree = self.tree if tree is None else tree
        kind = tree[0]
        if kind == "const":
            return tree[1]
        if kind == "name":
            return values[tree[1]]
        if kind == "op":
            return OPERATORS[tree[1]](self.evaluate(values, tree[2]),
                                      self.evaluate(values, tree[3]))
        return FUNCTIONS[tree[1]](*(self.evaluate(values, each) for each in tree[2]))


def main():
    if len(sys.argv) != 4:
        sys.exit("usage: engine_bench.py FOLDER SAMPLES ROUNDS")
    folder, samples, rounds = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
    outputs = []
    with open(os.path.join(folder, "formulas.txt"), encoding="ascii") as lines:
        for line in lines:
            name, text = line.rstrip("\n").split("=", 1)
            outputs.append((name, Formula(text)))
    names = set().union(*(formula.names() for _, formula in outputs))
    inputs = {name: np.fromfile(os.path.join(folder, name + ".f32"), dtype="<f4", count=samples)
              for name in names}

    best = float("inf")
    results = {}
    for _ in range(rounds):
        start = time.perf_counter()
        # Samples are read as float32 and computed in float64, as the engine does.
        values = {name: samples32.astype(np.float64) for name, samples32 in inputs.items()}
        for name, formula in outputs:
            result = np.broadcast_to(formula.evaluate(values), (samples,))
            results[name] = result.astype(np.float32)
        best = min(best, time.perf_counter() - start)
    print(f"numpy {np.__version__}: {len(outputs)} outputs x {samples} samples, best of {rounds}")
    print(f"numpy seconds {best:.6f}")

    # The run's curves against numpy's. Values the engine keeps between
    # operations are float32, so results agree to float32 rounding.
    worst = 0.0
    differing = 0
    for name, _ in outputs:
        ours = np.fromfile(os.path.join(folder, name + ".f32"), dtype="<f4", count=samples)
        theirs = results[name]
        if ours.shape != theirs.shape:
            print(f"{name}: the run wrote {ours.shape[0]} samples, numpy made {theirs.shape[0]}")
            return 1
        scale = np.maximum(np.abs(theirs.astype(np.float64)), 1.0)
        error = np.abs(ours.astype(np.float64) - theirs) / scale
        both_missing = np.isnan(ours) & np.isnan(theirs)
        error[both_missing] = 0.0
        error[np.isnan(error)] = np.inf
        worst = max(worst, float(error.max()))
        differing += int(np.count_nonzero(error > 1e-5))
    print(f"check against the run's curves: largest relative difference {worst:.2e}, "
          f"{differing} samples beyond 1e-5")
    return 0 if differing == 0 else 1


if __name__ == "__main__":
    sys.exit(main())
