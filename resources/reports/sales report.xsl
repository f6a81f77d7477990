<?xml version="1.0" encoding="UTF-8"?>
<!--
  Sales totals: what the invoices brought in, by way of payment, with tax, profit, today's takings and the
  value of the stock on hand. Pass the date to print as the parameter "today" (MM/dd/yyyy); without it the
  processor's own date is used where it has one.
-->
<xsl:stylesheet version="1.0" xmlns:xsl="http://www.w3.org/1999/XSL/Transform"
                xmlns:date="http://exslt.org/dates-and-times" extension-element-prefixes="date"
                exclude-result-prefixes="date">
  <xsl:output method="html" encoding="UTF-8" indent="yes" doctype-system="about:legacy-compat"/>

  <xsl:param name="today" select="''"/>

  <xsl:template name="today">
    <xsl:choose>
      <xsl:when test="string($today) != ''"><xsl:value-of select="$today"/></xsl:when>
      <xsl:when test="function-available('date:date')">
        <xsl:variable name="d" select="date:date()"/>
        <xsl:value-of select="concat(substring($d, 6, 2), '/', substring($d, 9, 2), '/', substring($d, 1, 4))"/>
      </xsl:when>
    </xsl:choose>
  </xsl:template>

  <xsl:template name="money">
    <xsl:param name="value"/>
    <xsl:choose>
      <xsl:when test="string(number($value)) != 'NaN'">
        <xsl:value-of select="format-number(number($value), '#,##0.00;-#,##0.00')"/>
      </xsl:when>
      <xsl:otherwise><xsl:value-of select="$value"/></xsl:otherwise>
    </xsl:choose>
  </xsl:template>

  <xsl:template name="label">
    <xsl:param name="type"/>
    <xsl:choose>
      <xsl:when test="$type = 'UNPAID'">Unpaid</xsl:when>
      <xsl:when test="$type = 'CASH'">Cash</xsl:when>
      <xsl:when test="$type = 'CHECK'">Check</xsl:when>
      <xsl:when test="$type = 'CREDIT CARD'">Credit card</xsl:when>
      <xsl:when test="$type = 'ACCOUNT'">On account</xsl:when>
      <xsl:when test="$type = 'WARRANTY'">Warranty</xsl:when>
      <xsl:when test="$type = 'TAX'">Tax collected (paid invoices)</xsl:when>
      <xsl:when test="$type = 'GROSS'">Gross sales (all paid invoices)</xsl:when>
      <xsl:when test="$type = 'APPROXIMATE GROSS CALCULABLE PROFIT'">Approximate gross profit</xsl:when>
      <xsl:when test="$type = &quot;TODAY'S TRANSACTIONS&quot;">Today's paid transactions</xsl:when>
      <xsl:when test="$type = 'INVENTORY COST'">Inventory at cost (stock on hand)</xsl:when>
      <xsl:otherwise><xsl:value-of select="$type"/></xsl:otherwise>
    </xsl:choose>
  </xsl:template>

  <xsl:template match="/">
    <html lang="en">
      <head>
        <meta charset="UTF-8"/>
        <title>Sales Totals</title>
        <style>
          body { font-family: "DejaVu Sans", "Segoe UI", Arial, sans-serif; color: #222; margin: 2em auto;
                 max-width: 46em; padding: 0 1em; }
          header { display: flex; justify-content: space-between; align-items: baseline;
                   border-bottom: 3px solid #2c5d8a; margin-bottom: 1.5em; }
          h1 { font-size: 1.8em; margin: 0 0 .3em 0; color: #2c5d8a; }
          .date { font-size: 1.1em; color: #555; }
          h2 { font-size: 1.15em; margin: 1.6em 0 .5em 0; color: #2c5d8a; }
          table { width: 100%; border-collapse: collapse; }
          th, td { padding: .45em .7em; border-bottom: 1px solid #d8dee4; }
          th { text-align: left; background: #eef3f8; font-weight: 600; }
          td.amount, th.amount { text-align: right; font-variant-numeric: tabular-nums; white-space: nowrap; }
          tbody tr:nth-child(even) td { background: #f8fafc; }
          tr.total td { font-weight: 700; border-top: 2px solid #2c5d8a; border-bottom: none; background: none; }
          .highlight { font-size: 1.35em; font-weight: 700; color: #1f6f3f; }
          footer { margin-top: 2em; font-size: .85em; color: #777; }
          @page { margin: 15mm; }
          @media print { body { margin: 0; max-width: none; } th { background: #eee; }
                         tr { page-break-inside: avoid; } }
        </style>
      </head>
      <body>
        <xsl:apply-templates select="salestotalsreport"/>
      </body>
    </html>
  </xsl:template>

  <xsl:template match="salestotalsreport">
    <xsl:variable name="a" select="amounts/amount"/>
    <header>
      <h1>Sales Totals</h1>
      <div class="date"><xsl:call-template name="today"/></div>
    </header>

    <h2>Invoices by payment</h2>
    <table>
      <thead><tr><th>Payment</th><th class="amount">Amount</th></tr></thead>
      <tbody>
        <xsl:for-each select="$a[type = 'UNPAID' or type = 'CASH' or type = 'CHECK' or type = 'CREDIT CARD'
                                 or type = 'ACCOUNT' or type = 'WARRANTY']">
          <tr>
            <td><xsl:call-template name="label"><xsl:with-param name="type" select="type"/></xsl:call-template></td>
            <td class="amount"><xsl:call-template name="money"><xsl:with-param name="value" select="value"/></xsl:call-template></td>
          </tr>
        </xsl:for-each>
      </tbody>
      <tfoot>
        <tr class="total">
          <td>All invoices</td>
          <td class="amount">
            <xsl:call-template name="money">
              <xsl:with-param name="value"
                select="sum($a[type = 'UNPAID' or type = 'CASH' or type = 'CHECK' or type = 'CREDIT CARD'
                               or type = 'ACCOUNT' or type = 'WARRANTY']/value)"/>
            </xsl:call-template>
          </td>
        </tr>
      </tfoot>
    </table>

    <h2>Summary</h2>
    <table>
      <tbody>
        <xsl:for-each select="$a[not(type = 'UNPAID' or type = 'CASH' or type = 'CHECK' or type = 'CREDIT CARD'
                                     or type = 'ACCOUNT' or type = 'WARRANTY')]">
          <tr>
            <td><xsl:call-template name="label"><xsl:with-param name="type" select="type"/></xsl:call-template></td>
            <td class="amount">
              <xsl:if test="type = 'GROSS'"><xsl:attribute name="class">amount highlight</xsl:attribute></xsl:if>
              <xsl:call-template name="money"><xsl:with-param name="value" select="value"/></xsl:call-template>
            </td>
          </tr>
        </xsl:for-each>
      </tbody>
    </table>
    <footer>Profit counts the lines of paid invoices whose price and cost are known. Inventory cost values each
      cost layer's remaining stock at its own unit cost.</footer>
  </xsl:template>
</xsl:stylesheet>
