<?php
/* The page template.
   It prints the visitor's name. */
declare(strict_types=1);
namespace App;

function greet(string $name): string {
    return "Hello, $name"; # greeting
}
$items = ['a' => 1, 'b' => 2];
?>
<!DOCTYPE html>
<ul>
<?php foreach ($items as $key => $value): ?>
  <li class="<?= $key ?>"><?= htmlspecialchars($value) ?></li>
<?php endforeach; ?>
</ul>
<p><? echo 'short tag'; ?></p>
<?php
$text = 'a string
over two lines';
// comment with ?> inside ends the block
echo 1;
