"""The comparison of the two builds' reports lets a zero's sign differ and
nothing else."""

import unittest

from zero_signs import same_but_zero_signs


class ZeroSigns(unittest.TestCase):
    def test_a_zero_may_change_its_sign(self):
        for a, b in [
            (b"itoffset = -0.000000\n", b"itoffset = 0.000000\n"),  # no field width
            (b"A  -0.000000 |", b"A   0.000000 |"),  # a padded field: sign against blank
            (b"Trend  -0.0  +0.0\n", b"Trend  +0.0  -0.0\n"),
            (b"x -0 y", b"x 0 y"),
            (b"-0.00 1.5 -0.0\n", b"0.00 1.5 +0.0\n"),  # several on one line
            (b"same\n", b"same\n"),
        ]:
            with self.subTest(a=a, b=b):
                self.assertTrue(same_but_zero_signs(a, b))
                self.assertTrue(same_but_zero_signs(b, a))

    def test_anything_else_is_a_difference(self):
        for a, b in [
            (b"-0.001", b"0.001"),  # not a zero
            (b"-0.000001", b" 0.000001"),
            (b" -1.000", b"  1.000"),
            (b"0.000000", b"0.000001"),
            (b"-0.0", b"0.00"),  # a zero of another width
            (b"-0.0", b" 0.00"),
            (b"+0.0 a", b"-0.0 b"),  # a sign and another difference
            (b" 0.0", b"0.0"),  # padding without a sign
            (b"-0.0\n", b"0.0"),  # line end lost
            (b"-0.0e+00", b"0.0e+00"),
            (b"10-0.0", b"10 0.0"),
            (b"1.-0", b"1.0"),
            (b"", b"-"),
        ]:
            with self.subTest(a=a, b=b):
                self.assertFalse(same_but_zero_signs(a, b))
                self.assertFalse(same_but_zero_signs(b, a))


if __name__ == "__main__":
    unittest.main()
